#include "ui/GbkText.h"

#include <QByteArrayView>

namespace ui {

// Stateless: every line is whole, so a lone lead byte at the end of one line
// must not swallow the first byte of the next.
GbkText::GbkText() : decoder_("GBK", QStringConverter::Flag::Stateless) {}

QString GbkText::operator()(std::string_view gbk)
{
    return decoder_.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

QString fromGbk(std::string_view gbk) { return GbkText()(gbk); }

} // namespace ui
