// Stands in for the browser: appends each address it is started with to the file named by
// TARVOCK_URL_LOG, one per line.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* log = std::getenv("TARVOCK_URL_LOG");
    if (!log) return 2;
    std::FILE* file = std::fopen(log, "a");
    if (!file) return 3;
    for (int i = 1; i < argc; ++i) std::fprintf(file, "%s\n", argv[i]);
    std::fclose(file);
    return 0;
}
