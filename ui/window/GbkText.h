#pragma once

#include "calc/CFree.h"

#include <QString>

#include <iconv.h>

#include <string_view>

namespace ui {

// Code page 936 bytes -> QString, for the controls that show the core's texts.
// By the C library's iconv, whose GBK table is the one small module, where
// Qt's decoder would bring ICU's converters and tables into the program
// (a megabyte resident). "GBK" and not "GB2312": the latter turns the em
// dash A1 AA into U+2015. A byte that starts no character of code page 936
// shows as U+FFFD and the text goes on after it; each text is whole, so an
// unfinished character at its end never joins the next text's first byte.
class GbkText {
public:
    GbkText();
    QString operator()(std::string_view gbk);

private:
    calc::CHandle<void, &iconv_close> toUtf16_;
};

// Conversion for texts shown once (captions, titles), through one decoder
// per thread.
QString fromGbk(std::string_view gbk);

} // namespace ui
