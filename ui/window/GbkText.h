#pragma once

#include <QString>
#include <QStringDecoder>

#include <string_view>

namespace ui {

// Code page 936 bytes -> QString, for the controls that show the core's texts.
// "GBK" and not "GB2312": the latter turns the em dash A1 AA into U+2015.
class GbkText {
public:
    GbkText();
    QString operator()(std::string_view gbk);

private:
    QStringDecoder decoder_;
};

// Conversion for texts shown once (captions, titles), through one decoder
// per thread.
QString fromGbk(std::string_view gbk);

} // namespace ui
