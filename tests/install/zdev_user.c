/* A C program of another author: loads the installed USB access library and
 * asks for its version. */
#include <stdio.h>
#include <zelvo/ZelvoDev.h>

int main(void) {
    const uint32_t version = ZdevGetVersion();
    printf("Zdev version %u\n", (unsigned)version);
    return version != 0 ? 0 : 1;
}
