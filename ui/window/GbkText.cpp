#include "ui/window/GbkText.h"

#include <QByteArrayView>

namespace ui {

// Stateless: every line is whole, so a lone lead byte at the end of one line
// must not swallow the first byte of the next.
GbkText::GbkText() : decoder_("GBK", QStringConverter::Flag::Stateless) {}

QString GbkText::operator()(std::string_view gbk)
{
    return decoder_.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

// Opening a converter costs more than most texts' conversion, and the window
// converts some ninety captions, names and descriptions as it is made.
QString fromGbk(std::string_view gbk)
{
    thread_local GbkText decoder;
    return decoder(gbk);
}

} // namespace ui
