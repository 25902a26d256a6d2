// Starting corpus for the document fuzzers: the encoded fixture files, each
// behind a selector byte. Usage: seed_<name> <corpus folder>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    const char* names[] = {"sjis.txt", "sjis-crlf.txt", "jis.txt", "euc.txt", "euc-cr.txt", "utf16le.txt",
                           "utf16be.txt", "utf8.txt", "utf8-bom-crlf.txt", "utf7.txt"};
    int written = 0;
    for (const char* name : names) {
        std::ifstream in(std::string(GLIM_FIXTURES) + "/" + name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        for (unsigned selector : {0x00u, 0x01u, 0x80u, 0xFFu}) {
            std::ofstream out(std::string(argv[1]) + "/seed-" + name + "-" + std::to_string(selector),
                              std::ios::binary);
            out << static_cast<char>(selector) << bytes.str();
            ++written;
        }
    }
    std::printf("%d seeds\n", written);
    return 0;
}
