// A console program for the tests of scripts/wine-run: "exit N", "sleep", "print OUT ERR".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "sleep") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "print") == 0) {
        std::printf("%s\n", argv[2]);
        std::fprintf(stderr, "%s\n", argv[3]);
        return 0;
    }
    std::fprintf(stderr, "usage: bench_console exit N | sleep | print OUT ERR\n");
    return 64;
}
