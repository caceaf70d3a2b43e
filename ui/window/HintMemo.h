#pragma once

#include <QPlainTextEdit>
#include <QTextLayout>

#include <map>
#include <memory>

namespace ui {

// The hint line: a read-only memo the program writes one hint at a time.
// The hints are a handful of texts shown again and again, so each is laid
// out and shaped once and painted from that layout afterwards, exactly as
// the memo would paint it. The document still holds the hint, for readers,
// selection and copying; a selection is painted by the memo itself.
class HintMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit HintMemo(QWidget* parent = nullptr);

    // Shows the hint with the memo's cursor at the start; the same hint
    // again changes nothing.
    void showHint(const QString& hint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QTextLayout& layoutOf(const QString& text);

    // The hint showHint wrote; empty once the text was written another way.
    QString shown_;
    bool writing_ = false;
    // Laid out for one font and one width; either changing empties it.
    std::map<QString, std::unique_ptr<QTextLayout>> layouts_;
    QFont layoutFont_;
    qreal layoutWidth_ = -1;
};

} // namespace ui
