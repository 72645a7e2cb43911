/* main.c - a host's first step: load the installed plugin module and find its entry function. */
#include <dlfcn.h>
#include <stdio.h>

#include "abi/host_abi.h"
#include "abi/host_endpoint_info.h"

int main(void) {
    void* module = dlopen(PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    if (module == NULL) {
        fprintf(stderr, "consumer: %s\n", dlerror());
        return 1;
    }
    void* entry = dlsym(module, "load_hux_game_queues");
    printf("%s: load_hux_game_queues %s, load block %u bytes\n", PLUGIN_FILE, entry ? "found" : "missing",
           (unsigned)sizeof(HostLoadBlock));
    dlclose(module);
    return entry ? 0 : 1;
}
