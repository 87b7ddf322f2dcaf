/* Prints the first USB instrument's scope settings and writes CH1 to a CSV
 * file, through the developer kit.
 *
 *   cc settings_to_csv.c $(pkg-config --cflags --libs sdkZelvoDLL) -o settings_to_csv
 *   ./settings_to_csv ch1.csv
 */
#include <stdio.h>

#include "zelvo/sdkZelvoDLL.h"

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "ch1.csv";
    uint8_t present[16];
    if (KwGetUSBDeviceList(present) == 0) {
        fprintf(stderr, "no instrument found on USB\n");
        return 1;
    }
    DeviceHandle h = 0;
    while (h < 16 && !present[h]) ++h;

    DeviceInfo info;
    if (KwGetDeviceInfo(h, &info) == 0) printf("instrument %s %s\n", info.name, info.serialNumber);

    KitSettings settings;
    static int16_t traces[4][1200];
    if (DSOGetAllSetting(h, &settings, traces[0], traces[1], traces[2], traces[3]) != 0) {
        fprintf(stderr, "the settings could not be read\n");
        return 1;
    }
    const char* names[4] = {"CH1", "CH2", "MATH", "REF"};
    for (int k = 0; k < 4; ++k) {
        const KitChannelRecord* ch = &settings.channels[k];
        printf("%s: %s, volts index %d, %g mV/div, position %d, %u samples\n", names[k],
               ch->shown ? "on" : "off", ch->voltsIndex, ch->voltsValue * 0.01, ch->position,
               (unsigned)settings.waveforms[k].sampleCount);
    }
    printf("time base index %d\n", settings.timeBase);

    FILE* csv = fopen(out, "w");
    if (csv == NULL) {
        perror(out);
        return 1;
    }
    /* The conversion a sample code takes to volts on this channel's scale. */
    static const double kMillivolts[14] = {0.5, 1,   2,   5,    10,   20,   50,
                                           100, 200, 500, 1000, 2000, 5000, 10000};
    static const int kProbe[4] = {1, 10, 100, 1000};
    const KitChannelRecord* ch1 = &settings.channels[0];
    const int index = ch1->voltsIndex + 4;
    const double millivolts =
        (index >= 0 && index < 14 ? kMillivolts[index] : 0) * kProbe[ch1->probe & 3];
    const double zero = 255.0 - ch1->position * 255.0 / 199.0;
    fprintf(csv, "sample,volts\n");
    for (int i = 0; i < 1200; ++i) {
        if (traces[0][i] == 32767)
            fprintf(csv, "%d,\n", i);
        else
            fprintf(csv, "%d,%.4f\n", i, (traces[0][i] - zero) * millivolts * 8.0 / 255.0 / 1000.0);
    }
    fclose(csv);
    printf("CH1 written to %s\n", out);
    return 0;
}
