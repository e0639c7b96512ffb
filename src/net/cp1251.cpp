#include "cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

namespace net {
namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle OpenConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("Нет преобразования кодировки ") + from + " -> " + to);
    }
    return IconvHandle(cd);
}

// Number of bytes of the UTF-8 sequence that starts with this byte (1 for a
// byte that starts none, so that a bad byte is skipped alone).
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

// Bytes to replace by one "?" at a place iconv refused: the lead byte and
// the continuation bytes that follow it, at most as many as it announces. A
// sequence cut short thus never takes the character after it along.
size_t Utf8SkipLength(const char* in, size_t left) {
    const size_t expected = Utf8SequenceLength(static_cast<unsigned char>(in[0]));
    size_t skip = 1;
    while (skip < expected && skip < left &&
           (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) {
        ++skip;
    }
    return skip;
}

// Converts text; a character the target cannot hold, or input that is not
// valid in the source, becomes "?".
std::string Convert(const char* to, const char* from, const std::string& text, bool sourceIsUtf8) {
    const IconvHandle cd = OpenConverter(to, from);
    std::string out;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: replace one source character and go on.
        const size_t skip = sourceIsUtf8 ? Utf8SkipLength(in, inLeft) : 1;
        in += skip;
        inLeft -= skip;
        out.push_back('?');
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string Utf8ToCp1251(const std::string& utf8) {
    return Convert("WINDOWS-1251", "UTF-8", utf8, true);
}

std::string Cp1251ToUtf8(const std::string& cp1251) {
    return Convert("UTF-8", "WINDOWS-1251", cp1251, false);
}

}  // namespace net
