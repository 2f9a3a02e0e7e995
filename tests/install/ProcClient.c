/* A program of someone else's, built only from the installed header, library
 * and pkg-config or CMake file: finds itself among the processes. */
#include <kalvara/kalvaraproc.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* name = strrchr(argv[0], '/');
    name = name != NULL ? name + 1 : argv[0];
    ProcList list = {NULL, 0};
    if (argc != 1 || procGetList(&list) != 1 || list.count < 2) {
        fprintf(stderr, "no process list\n");
        return 1;
    }
    procFreeList(&list);
    const int32_t found = procGetID(name);
    if (found != (int32_t)getpid()) {
        fprintf(stderr, "%s found as %d, not %d\n", name, (int)found, (int)getpid());
        return 1;
    }
    printf("found %s\n", name);
    return 0;
}
