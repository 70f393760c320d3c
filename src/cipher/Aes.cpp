#include "Aes.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kKeyBytes = 32;
constexpr int kIvBytes = 12;
constexpr int kTagBytes = 16;

using Context = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// Wipes what it holds when it goes, so that no key or plain text stays in freed memory.
struct Secret {
    std::vector<unsigned char> bytes;
    explicit Secret(size_t n = 0) : bytes(n) {}
    ~Secret()
    {
        if (!bytes.empty())
            OPENSSL_cleanse(bytes.data(), bytes.size());
    }
};

bool deriveKey(const char* key, Secret& out)
{
    out.bytes.assign(kKeyBytes, 0);
    unsigned int n = 0;
    return EVP_Digest(key, std::strlen(key), out.bytes.data(), &n, EVP_sha256(), nullptr) == 1 &&
           n == static_cast<unsigned>(kKeyBytes);
}

bool isBase64Char(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// Strict base64: whole quads, the alphabet only, '=' only as the last one or two characters.
bool decodeBase64(const char* text, std::vector<unsigned char>& out)
{
    const size_t n = std::strlen(text);
    if (n == 0 || n % 4 != 0)
        return false;
    size_t padding = 0;
    if (text[n - 1] == '=')
        padding = text[n - 2] == '=' ? 2 : 1;
    for (size_t i = 0; i < n - padding; ++i)
        if (!isBase64Char(text[i]))
            return false;
    out.assign(n / 4 * 3, 0);
    const int decoded =
        EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text), static_cast<int>(n));
    if (decoded < 0 || static_cast<size_t>(decoded) != out.size())
        return false;
    out.resize(out.size() - padding);
    return true;
}

int fail(char* output, int size)
{
    if (output && size > 0)
        output[0] = '\0';
    return -1;
}

}  // namespace

extern "C" int AesEncrypt(const char* input, char* output, int size, const char* key)
{
    if (!output || size <= 0)
        return -1;
    output[0] = '\0';
    if (!input || !key)
        return -1;
    const size_t plainLength = std::strlen(input);
    const size_t blobLength = kIvBytes + plainLength + kTagBytes;
    const size_t textLength = (blobLength + 2) / 3 * 4;
    if (textLength + 1 > static_cast<size_t>(size))
        return -1;

    Secret k;
    if (!deriveKey(key, k))
        return -1;
    std::vector<unsigned char> blob(blobLength);
    unsigned char* iv = blob.data();
    unsigned char* cipher = iv + kIvBytes;
    unsigned char* tag = cipher + plainLength;
    if (RAND_bytes(iv, kIvBytes) != 1)
        return -1;

    Context ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int n = 0;
    int tail = 0;
    if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kIvBytes, nullptr) != 1 ||
        EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, k.bytes.data(), iv) != 1 ||
        EVP_EncryptUpdate(ctx.get(), cipher, &n, reinterpret_cast<const unsigned char*>(input),
                          static_cast<int>(plainLength)) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), cipher + n, &tail) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagBytes, tag) != 1)
        return fail(output, size);

    const int written =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(output), blob.data(), static_cast<int>(blob.size()));
    if (written < 0 || static_cast<size_t>(written) != textLength)
        return fail(output, size);
    output[written] = '\0';
    return written;
}

extern "C" int AesDecrypt(const char* input, char* output, int size, const char* key)
{
    if (!output || size <= 0)
        return -1;
    output[0] = '\0';
    if (!input || !key)
        return -1;
    std::vector<unsigned char> blob;
    if (!decodeBase64(input, blob) || blob.size() < static_cast<size_t>(kIvBytes + kTagBytes))
        return -1;
    const size_t plainLength = blob.size() - kIvBytes - kTagBytes;
    if (plainLength + 1 > static_cast<size_t>(size))
        return -1;

    Secret k;
    if (!deriveKey(key, k))
        return -1;
    unsigned char* iv = blob.data();
    unsigned char* cipher = iv + kIvBytes;
    unsigned char* tag = cipher + plainLength;
    Secret plain(plainLength + 1);
    Context ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    int n = 0;
    int tail = 0;
    // The tag is checked by the final step: a wrong key or a changed byte ends here.
    if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kIvBytes, nullptr) != 1 ||
        EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, k.bytes.data(), iv) != 1 ||
        EVP_DecryptUpdate(ctx.get(), plain.bytes.data(), &n, cipher, static_cast<int>(plainLength)) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagBytes, tag) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), plain.bytes.data() + n, &tail) != 1)
        return fail(output, size);
    // A zero byte inside could not come back whole as a zero-terminated text.
    if (std::memchr(plain.bytes.data(), 0, plainLength))
        return fail(output, size);
    std::memcpy(output, plain.bytes.data(), plainLength);
    output[plainLength] = '\0';
    return static_cast<int>(plainLength);
}
