// peltrix-screenshots SET [ARGS]: takes one set of the pictures in docs/ and
// the manual from the running program. Run under xvfb-run (see the scripts
// beside this folder).
#include "shots.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const std::pair<const char *, int (*)(int, char **)> sets[] = {
        {"readme", ShotsReadme}, {"graph", ShotsGraph},     {"everyday", ShotsEveryday},
        {"find", ShotsFind},     {"logbook", ShotsLogbook}, {"manual", ShotsManual},
        {"sheet", ShotsSheet}};
    QApplication qapp(argc, argv);
    if (argc > 1)
        for (const auto &[name, run] : sets)
            if (std::strcmp(argv[1], name) == 0) return run(argc - 1, argv + 1);
    std::fprintf(stderr, "usage: peltrix-screenshots readme|graph|everyday|find|logbook|sheet OUT\n"
                         "       peltrix-screenshots manual INSTALL_DIR OUT_DIR\n");
    return 2;
}
