#include "tools/datagen/Gbk.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace datagen {
namespace {

    class Converter {
    public:
        Converter(const char* to, const char* from)
            : m_cd(iconv_open(to, from))
        {
            if (m_cd == reinterpret_cast<iconv_t>(-1))
                throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
        ~Converter() { iconv_close(m_cd); }
        Converter(const Converter&) = delete;
        Converter& operator=(const Converter&) = delete;

        std::optional<std::string> convert(std::string_view in)
        {
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            std::string out(in.size() * 4 + 8, '\0');
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = out.data();
            size_t dstLeft = out.size();
            if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
                return std::nullopt;
            if (iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
                return std::nullopt;
            out.resize(out.size() - dstLeft);
            return out;
        }

    private:
        iconv_t m_cd;
    };

}

std::optional<std::string> Utf8ToGbk(std::string_view utf8)
{
    static Converter converter("GBK", "UTF-8");
    return converter.convert(utf8);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk)
{
    static Converter converter("UTF-8", "GBK");
    return converter.convert(gbk);
}

int Utf8Length(std::string_view utf8)
{
    int count = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > utf8.size())
            return -1;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80)
                return -1;
        i += length;
        ++count;
    }
    return count;
}

}
