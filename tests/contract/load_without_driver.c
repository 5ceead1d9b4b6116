/* Loads libwirelink.so with no port driver on the search path: the load must
 * fail and name the missing libdlportio.so. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    void *driver = dlopen("libdlportio.so", RTLD_NOW);
    if (driver != NULL) {
        printf("a libdlportio.so is installed on this machine; nothing to show\n");
        return 77;
    }
    void *library = dlopen(argv[1], RTLD_NOW);
    if (library != NULL) {
        fprintf(stderr, "loaded without a port driver\n");
        return 1;
    }
    const char *error = dlerror();
    if (error == NULL || strstr(error, "libdlportio.so") == NULL) {
        fprintf(stderr, "unexpected load error: %s\n", error ? error : "(none)");
        return 1;
    }
    printf("refused as it should be: %s\n", error);
    return 0;
}
