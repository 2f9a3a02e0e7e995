#ifndef KALVARA_TESTS_PROC_LIBRARY_CLIENT_H
#define KALVARA_TESTS_PROC_LIBRARY_CLIENT_H
/* A C client of libkalvaraproc.so, written the way a companion program would
 * use it: dlopen, then every export resolved by name. */

#include "kalvara/kalvaraproc.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ProcLibraryClient {
    void* handle;
    procGetListFunction getList;
    procGetIDFunction getID;
    procKillFunction kill;
    procFreeListFunction freeList;
} ProcLibraryClient;

/* 1 when the library is loaded and all four exports resolved; otherwise 0,
 * nothing left open, and the loader's reason in error. */
int procClientOpen(const char* library_path, ProcLibraryClient* client, char* error,
                   size_t error_size);
void procClientClose(ProcLibraryClient* client);

/* Every kill() of this process, the library's included, passes through the
 * client first. Targets below 1 are counted and never sent: were the library
 * to pass one on, the whole session (or, as root, the machine) would go. */
void procClientResetSignalLog(void);
int procClientSignalsSent(void);
int procClientSignalsToGroupsRefused(void);

#ifdef __cplusplus
}
#endif

#endif
