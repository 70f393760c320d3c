// kvcipher encrypt TEXT | kvcipher decrypt TEXT
// Enciphers (or deciphers) one Config.ini value with the key the client uses.
#include "Aes.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr int kBufferBytes = 1024;
constexpr const char* kKey = "mopleu";
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "encrypt") != 0 && std::strcmp(argv[1], "decrypt") != 0)) {
        std::fprintf(stderr, "usage: kvcipher encrypt TEXT | kvcipher decrypt TEXT\n");
        return 2;
    }
    char out[kBufferBytes] = {};
    const bool encrypt = std::strcmp(argv[1], "encrypt") == 0;
    const int n =
        encrypt ? AesEncrypt(argv[2], out, kBufferBytes, kKey) : AesDecrypt(argv[2], out, kBufferBytes, kKey);
    if (n < 0) {
        std::fprintf(stderr, encrypt ? "kvcipher: the text is too long to encipher\n"
                                     : "kvcipher: not a value enciphered with the client's key\n");
        return 1;
    }
    std::printf("%s\n", out);
    return 0;
}
