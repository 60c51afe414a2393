/* The critical-value search written as plain C: the same arithmetic order as
 * the program (Simpson sums in index order, the step multiplied by 0.1), one
 * malloc'd table, pow per sample. The benchmarks and critical_ref time the
 * program against it. */
#ifndef PELTRIX_REFERENCE_SEARCH_H
#define PELTRIX_REFERENCE_SEARCH_H

#include <math.h>
#include <stdlib.h>

struct ref_density {
    int kind; /* 0: t, 1: F */
    int nu, d1, d2;
    double c;
};

static void ref_fill(const struct ref_density *d, double a, double b, double *f)
{
    int i;
    if (d->kind == 0) {
        double e = (d->nu + 1) * -0.5;
        for (i = 0; i <= 10000; i++) {
            double x = (b - a) * i / 10000 + a;
            f[i] = d->c * pow(x * x / d->nu + 1, e);
        }
    } else {
        double e = (d->d1 + d->d2) * -0.5, k = (d->d1 - 2) * 0.5;
        for (i = 0; i <= 10000; i++) {
            double x = i * b / 10000;
            f[i] = pow(d->d1 * x + d->d2, e) * pow(x, k) * d->c;
        }
    }
}

static double ref_integrate(double a, double b, const double *f)
{
    double h = (b - a) / 30000, odd = 0, even = 0;
    int i;
    for (i = 1; i < 10000; i += 2) odd += f[i];
    for (i = 2; i < 10000; i += 2) even += f[i];
    return h * (f[0] + f[10000] + 4 * odd + 2 * even);
}

/* Returns 0 when not found. */
static int ref_search(const struct ref_density *d, double L, double x0, double s0, double X,
                      double p, double *out)
{
    double *f = (double *)malloc(10001 * sizeof(double));
    double x = x0, step = s0, area = 0;
    if (!f) return 0;
    while (step > 0.0001) {
        area = 0;
        while (area < p) {
            ref_fill(d, L, x, f);
            area = ref_integrate(L, x, f);
            x = x + step;
            if (x > X) {
                area = 1000;
                step = 0;
            }
        }
        x = x - 2 * step;
        if (x < L) x = L;
        step = step * 0.1;
    }
    free(f);
    *out = x + 10 * step;
    return area < 1000;
}

#endif
