#define _GNU_SOURCE
#include "ProcLibraryClient.h"

#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>

static int signals_sent;
static int signals_to_groups_refused;

/* ISO C has no conversion from an object pointer to a function pointer;
 * copying the bytes is what POSIX guarantees to work for dlsym results. */
static int resolve(void* handle, const char* name, void* function, size_t size) {
    void* symbol = dlsym(handle, name);
    if (symbol == NULL) {
        return 0;
    }
    memcpy(function, &symbol, size);
    return 1;
}

int procClientOpen(const char* library_path, ProcLibraryClient* client, char* error,
                   size_t error_size) {
    memset(client, 0, sizeof *client);
    client->handle = dlopen(library_path, RTLD_NOW | RTLD_LOCAL);
    if (client->handle == NULL) {
        snprintf(error, error_size, "%s", dlerror());
        return 0;
    }
    if (!resolve(client->handle, "procGetList", &client->getList, sizeof client->getList) ||
        !resolve(client->handle, "procGetID", &client->getID, sizeof client->getID) ||
        !resolve(client->handle, "procKill", &client->kill, sizeof client->kill) ||
        !resolve(client->handle, "procFreeList", &client->freeList, sizeof client->freeList)) {
        snprintf(error, error_size, "%s", dlerror());
        procClientClose(client);
        return 0;
    }
    return 1;
}

void procClientClose(ProcLibraryClient* client) {
    if (client->handle != NULL) {
        dlclose(client->handle);
    }
    memset(client, 0, sizeof *client);
}

void procClientResetSignalLog(void) {
    signals_sent = 0;
    signals_to_groups_refused = 0;
}

int procClientSignalsSent(void) {
    return signals_sent;
}

int procClientSignalsToGroupsRefused(void) {
    return signals_to_groups_refused;
}

/* Exported from the test program, so it comes before the C library's kill
 * when the loaded library's calls are bound. */
int kill(pid_t pid, int sig) {
    typedef int (*KillFunction)(pid_t, int);
    KillFunction real_kill = NULL;
    if (pid < 1) {
        ++signals_to_groups_refused;
        errno = EPERM;
        return -1;
    }
    if (!resolve(RTLD_NEXT, "kill", &real_kill, sizeof real_kill)) {
        errno = ENOSYS;
        return -1;
    }
    const int result = real_kill(pid, sig);
    if (result == 0) {
        ++signals_sent;
    }
    return result;
}
