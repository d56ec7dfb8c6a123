/* The yardstick of the text level reader: a plain C scan of a text file that does the least a
 * reader must do with each line (read it, upper-case it, scan its numbers) and builds nothing.
 * Prints the lines, the numbers scanned and the time taken. */

#include <ctype.h>
#include <stdio.h>
#include <time.h>

static double Now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: qzscan FILE\n");
        return 1;
    }
    const double start = Now();
    FILE* file = fopen(argv[1], "rb");
    if (file == NULL) {
        fprintf(stderr, "qzscan: cannot open %s\n", argv[1]);
        return 3;
    }
    static char line[4096];
    long lines = 0;
    long numbers = 0;
    while (fgets(line, sizeof line, file) != NULL) {
        ++lines;
        for (char* c = line; *c != '\0'; ++c)
            *c = (char)toupper((unsigned char)*c);
        /* A line of a level's records: an index and up to nine numbers after it. */
        float v[10];
        const int n = sscanf(line, "%f %f %f %f %f %f %f %f %f %f", &v[0], &v[1], &v[2], &v[3],
                             &v[4], &v[5], &v[6], &v[7], &v[8], &v[9]);
        if (n > 0)
            numbers += n;
    }
    fclose(file);
    printf("lines=%ld numbers=%ld scan_ms=%.1f\n", lines, numbers, Now() - start);
    return 0;
}
