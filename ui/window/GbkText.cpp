#include "ui/window/GbkText.h"

#include <QSysInfo>

#include <array>
#include <cerrno>
#include <string>

namespace ui {

namespace {

const auto kNoConversion = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);
constexpr char16_t kReplacement = u'\uFFFD';

} // namespace

// UTF-16 of this machine's byte order, so that the units need no swapping.
GbkText::GbkText()
    : toUtf16_([] {
        const iconv_t handle =
            iconv_open(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE", "GBK");
        return handle == kNoConversion ? nullptr : handle;
    }())
{
}

QString GbkText::operator()(std::string_view gbk)
{
    QString text;
    if (!toUtf16_) {
        // No GBK in this C library: the ASCII at least, as itself.
        for (const char c : gbk) {
            text += static_cast<unsigned char>(c) < 0x80 ? QChar(c) : QChar(kReplacement);
        }
        return text;
    }
    iconv(toUtf16_.get(), nullptr, nullptr, nullptr, nullptr);
    std::string input(gbk); // iconv's input is not const
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char16_t, 128> buffer{};
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer.data());
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(toUtf16_.get(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        text.append(QStringView(buffer.data(), static_cast<qsizetype>((sizeof buffer - outLeft) / sizeof(char16_t))));
        if (result != kFailed || error == E2BIG) {
            continue;
        }
        // A byte that starts no character (EILSEQ), or a character cut off
        // by the end of the text (EINVAL): one replacement, one byte on.
        text += QChar(kReplacement);
        ++in;
        --inLeft;
    }
    return text;
}

// Opening a converter costs more than most texts' conversion, and the window
// converts some ninety captions, names and descriptions as it is made.
QString fromGbk(std::string_view gbk)
{
    thread_local GbkText decoder;
    return decoder(gbk);
}

} // namespace ui
