#ifndef KALVARA_KALVARAPROC_H
#define KALVARA_KALVARAPROC_H
/*
 * Kalvara's process utilities for other programs: list the running processes,
 * find a process by the file name of its executable, and end a process.
 *
 * Link with -lkalvaraproc, or load libkalvaraproc.so with dlopen and resolve
 * procGetList, procGetID, procKill and procFreeList by name; the function
 * pointer types below match them.
 */

#include <stdint.h>

#if defined(KALVARAPROC_BUILDING)
#define KALVARAPROC_API __attribute__((visibility("default")))
#else
#define KALVARAPROC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Room for the executable's file name: at most 259 bytes and the NUL. */
#define KALVARAPROC_EXE_FILE_SIZE 260

/* One running process. All zero in the empty element 0 of a list. */
typedef struct ProcEntry {
    /* sizeof(ProcEntry) in a filled entry, so that callers can tell versions apart. */
    uint32_t dwSize;
    int32_t th32ProcessID;
    int32_t th32ParentProcessID;
    /* Threads of the process when it was listed. */
    int32_t cntThreads;
    /* File name of the executable without its folder, NUL-terminated. */
    char szExeFile[KALVARAPROC_EXE_FILE_SIZE];
} ProcEntry;

/*
 * A process list owned by the caller and allocated by the library. Elements
 * 1 .. count-1 are the processes; element 0 exists and is empty. Start from
 * a zero-initialised list ({NULL, 0}) and release it with procFreeList.
 */
typedef struct ProcList {
    ProcEntry* entries;
    int32_t count;
} ProcList;

/*
 * Empties the list (releasing what an earlier call put in it), then fills it
 * with the running processes in the order the system lists them. Returns 1
 * when the list was filled; 0 when the processes could not be listed (a
 * message goes to stderr), the list pointer is NULL or memory ran out. After
 * a failure the list holds only the empty element 0, or nothing at all when
 * even that could not be allocated.
 */
KALVARAPROC_API int32_t procGetList(ProcList* list);

/*
 * Process id of the first listed process whose executable file name equals
 * exeFile without regard to ASCII case; -1 when there is none, exeFile is
 * NULL or the processes could not be listed.
 */
KALVARAPROC_API int32_t procGetID(const char* exeFile);

/*
 * Ends the process with SIGKILL. Returns 1 when the signal was sent, 0 when
 * the process does not exist or may not be signalled. Ids below 1 stand for
 * process groups or every process on POSIX systems, so they give 0 and
 * nothing is signalled.
 */
KALVARAPROC_API int32_t procKill(int32_t processId);

/* Releases the entries of a list filled by procGetList and zeroes it. NULL is ignored. */
KALVARAPROC_API void procFreeList(ProcList* list);

typedef int32_t (*procGetListFunction)(ProcList* list);
typedef int32_t (*procGetIDFunction)(const char* exeFile);
typedef int32_t (*procKillFunction)(int32_t processId);
typedef void (*procFreeListFunction)(ProcList* list);

#ifdef __cplusplus
}
#endif

#endif /* KALVARA_KALVARAPROC_H */
