/* A C program of another author: measures a square wave through the
 * installed header and library and fails unless the period comes out. */
#include <mensyl/Mensyl.h>
#include <stdio.h>

int main(void) {
    short data[1200];
    unsigned char H[MENSYL_LEVEL_RECORD_SIZE], L[MENSYL_LEVEL_RECORD_SIZE];
    unsigned char P[MENSYL_PERIOD_RECORD_SIZE];
    double period;
    int i;
    for (i = 0; i < 1200; ++i) data[i] = (short)(i % 100 < 50 ? 200 : 50);
    PreMeas(H, L, data, 1200);
    FindPeriod(P, H, L, data, 1200);
    period = CalPeriod(P, 1e-6);
    printf("period %g s\n", period);
    return period > 99e-6 && period < 101e-6 ? 0 : 1;
}
