/* critical_ref D1 D2 SIG: the F critical value by the plain C search, printed
 * as `peltrix-cli critical f` prints it, so the two can be timed as whole
 * processes side by side. */
#include "reference_search.h"

#include <stdio.h>

int main(int argc, char **argv)
{
    struct ref_density d = {1, 0, 0, 0, 0};
    double x = 0, sig;
    if (argc != 4) {
        fprintf(stderr, "usage: critical_ref D1 D2 SIG\n");
        return 2;
    }
    d.d1 = atoi(argv[1]);
    d.d2 = atoi(argv[2]);
    sig = atof(argv[3]);
    d.c = pow(d.d1, d.d1 * 0.5) * pow(d.d2, d.d2 * 0.5) * tgamma((d.d1 + d.d2) * 0.5) /
          (tgamma(d.d2 * 0.5) * tgamma(d.d1 * 0.5));
    if (ref_search(&d, 0, 1.6, 10, 100, 1 - sig * 0.005, &x))
        printf("%.4f\n", x);
    else
        printf("not found\n");
    return 0;
}
