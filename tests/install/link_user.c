/* A C program of another author: asks the installed link library which device
 * a serial port number stands for.  The test names port 7 in ZELVO_COM7. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zelvo/ZelvoDLL.h>

int main(void) {
    const char* expected = getenv("ZELVO_COM7");
    char path[256];
    if (!expected || KwGetCOMPortPath(7, path, sizeof path) != 0) return 1;
    printf("port 7 is %s\n", path);
    return strcmp(path, expected) == 0 ? 0 : 1;
}
