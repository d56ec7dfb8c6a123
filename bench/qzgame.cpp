// qzgame: writes the synthetic game (both products: archives and template lists)
// into a folder. The build runs it to make the editor's default game folder.
//
//   qzgame OUT_FOLDER

#include "SyntheticGame.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qzgame OUT_FOLDER\n");
        return 2;
    }
    try {
        BuildSyntheticGame(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qzgame: %s\n", e.what());
        return 1;
    }
    return 0;
}
