#include "ui/window/UntCalc.h"

#include "calc/EnumRows.h"
#include "ui/look/FixedLook.h"
#include "ui/look/Fonts.h"
#include "ui/look/PictureArt.h"
#include "ui/look/Pictures.h"
#include "ui/platform/Platform.h"
#include "ui/platform/ScreenFit.h"
#include "ui/platform/WindowShape.h"
#include "ui/window/Accessibility.h"
#include "ui/window/BackgroundLabel.h"
#include "ui/window/BitmapButton.h"
#include "ui/window/GbkText.h"
#include "ui/window/HintMemo.h"
#include "ui/window/PanelLabel.h"
#include "ui/window/TapeView.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace ui {

namespace {

constexpr QColor kWindowColour(art::kWindowColour.r, art::kWindowColour.g, art::kWindowColour.b);
constexpr QColor kPaleColour(0xD2, 0xDA, 0xDD);
constexpr QColor kEntryColour(0xB5, 0xFC, 0xF8);

constexpr std::string_view kCaption = "\xC7\xE0\xBA\xCC\xCB\xB0\xC2\xCA\xBC\xC6\xCB\xE3\xC6\xF7"; // 青禾税率计算器
constexpr std::string_view kTitleText = kCaption;
constexpr std::string_view kRateLabel = "\xB5\xB1\xC7\xB0\xCB\xB0\xC2\xCA\xA3\xBA"; // 当前税率：
constexpr std::string_view kCancelCaption = "\xB7\xB5  \xBB\xD8"; // 返  回
constexpr std::string_view kCloseButton = "BitBtnCancel";

struct Placement {
    std::string_view name;
    int left, top, width, height;
    std::string_view accessible; // code page 936: what the control is, as a reader says it
};

// Creation order is stacking order: the picture and the labels lie under the
// rest, as they are painted on the window's own surface.
constexpr auto kLayout = std::to_array<Placement>({
    {"ImageBak", 0, 0, art::kWindowWidth, art::kWindowHeight, "\xB1\xB3\xBE\xB0"}, // 背景
    {"LblTitle", 38, 15, 84, 12, kTitleText}, // what it shows
    {"ImageIco", 13, 15, 16, 12, "\xB9\xD8\xB1\xD5"}, // 关闭
    {"LblCess", 449, 16, 60, 12, kRateLabel}, // what it shows
    {"ListBoxShow", 13, 34, 186, 152, "\xBC\xC6\xCB\xE3\xBC\xC7\xC2\xBC"}, // 计算记录
    {"PanelM", 217, 12, 30, 18, "\xB4\xE6\xB4\xA2\xC7\xF8"}, // 存储区
    {"MemoHint", 13, 195, 546, 39, "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2"}, // 提示信息
    {"PanelShow", 253, 12, 151, 18, "\xBD\xE1\xB9\xFB\xB1\xE0\xBC\xAD\xC7\xF8"}, // 结果编辑区
    {"Panel1", 208, 35, 196, 151, "\xBC\xC6\xCB\xE3\xB0\xB4\xBC\xFC"}, // 计算按键
    {"Panel2", 408, 35, 151, 81, "\xCB\xB0\xCE\xF1\xB0\xB4\xBC\xFC"}, // 税务按键
    {"PanelCess", 510, 12, 48, 18, "\xB5\xB1\xC7\xB0\xCB\xB0\xC2\xCA"}, // 当前税率
    {kCloseButton, 500, 135, 58, 50, "\xB7\xB5\xBB\xD8"}, // 返回
});

enum class Pad { Calculator, Tax };
enum class Face { Memory, Strong, Narrow, Tax };

struct KeyDef {
    std::string_view name;
    std::string_view caption; // code page 936
    const QString* glyph; // a picture instead of the caption
    Pad pad;
    int row;
    int column;
    Face face;
    // Code page 936: what the key does, as a reader says it; {} where the
    // caption says it.
    std::string_view accessible;
    calc::Key key; // its hint explains the key to a reader before it is pressed
    void (FrmCalc::*handler)();
};

constexpr auto kKeys = std::to_array<KeyDef>({
    {"SBtnMC", "MC", nullptr, Pad::Calculator, 0, 0, Face::Memory, "\xC7\xE5\xB3\xFD\xB4\xE6\xB4\xA2", calc::Key::MC,
        &FrmCalc::SBtnMCClick}, // 清除存储
    {"SBtnMR", "MR", nullptr, Pad::Calculator, 1, 0, Face::Memory, "\xCF\xD4\xCA\xBE\xB4\xE6\xB4\xA2", calc::Key::MR,
        &FrmCalc::SBtnMRClick}, // 显示存储
    {"SBtnMS", "MS", nullptr, Pad::Calculator, 2, 0, Face::Memory, "\xB4\xE6\xB4\xA2", calc::Key::MS,
        &FrmCalc::SBtnMSClick}, // 存储
    {"SBtnMAdd", "M+", nullptr, Pad::Calculator, 3, 0, Face::Memory, "\xBC\xD3\xC8\xEB\xB4\xE6\xB4\xA2",
        calc::Key::MAdd, &FrmCalc::SBtnMAddClick}, // 加入存储
    {"SBtn1", "1", nullptr, Pad::Calculator, 2, 1, Face::Strong, {}, calc::Key::D1, &FrmCalc::SBtn1Click},
    {"SBtn2", "2", nullptr, Pad::Calculator, 2, 2, Face::Strong, {}, calc::Key::D2, &FrmCalc::SBtn2Click},
    {"SBtn3", "3", nullptr, Pad::Calculator, 2, 3, Face::Strong, {}, calc::Key::D3, &FrmCalc::SBtn3Click},
    {"SBtn4", "4", nullptr, Pad::Calculator, 1, 1, Face::Strong, {}, calc::Key::D4, &FrmCalc::SBtn4Click},
    {"SBtn5", "5", nullptr, Pad::Calculator, 1, 2, Face::Strong, {}, calc::Key::D5, &FrmCalc::SBtn5Click},
    {"SBtn6", "6", nullptr, Pad::Calculator, 1, 3, Face::Strong, {}, calc::Key::D6, &FrmCalc::SBtn6Click},
    {"SBtn7", "7", nullptr, Pad::Calculator, 0, 1, Face::Strong, {}, calc::Key::D7, &FrmCalc::SBtn7Click},
    {"SBtn8", "8", nullptr, Pad::Calculator, 0, 2, Face::Strong, {}, calc::Key::D8, &FrmCalc::SBtn8Click},
    {"SBtn9", "9", nullptr, Pad::Calculator, 0, 3, Face::Strong, {}, calc::Key::D9, &FrmCalc::SBtn9Click},
    {"SBtnZF", "\xA1\xC0", nullptr, Pad::Calculator, 3, 2, Face::Narrow, "\xD5\xFD\xB8\xBA\xBA\xC5", calc::Key::Sign,
        &FrmCalc::SBtnZFClick}, // ± 正负号
    {"SBtnAdd", "\xA3\xAB", nullptr, Pad::Calculator, 0, 4, Face::Strong, "\xBC\xD3", calc::Key::Add,
        &FrmCalc::SBtnAddClick}, // ＋ 加
    {"SBtnSub", "\xA3\xAD", nullptr, Pad::Calculator, 1, 4, Face::Strong, "\xBC\xF5", calc::Key::Sub,
        &FrmCalc::SBtnSubClick}, // － 减
    {"SBtnMulti", "\xA1\xC1", nullptr, Pad::Calculator, 2, 4, Face::Strong, "\xB3\xCB", calc::Key::Multi,
        &FrmCalc::SBtnMultiClick}, // × 乘
    {"SBtn0", "0", nullptr, Pad::Calculator, 3, 1, Face::Strong, {}, calc::Key::D0, &FrmCalc::SBtn0Click},
    {"SBtnDot", {}, &pictures::kDotGlyph, Pad::Calculator, 3, 3, Face::Strong, "\xD0\xA1\xCA\xFD\xB5\xE3",
        calc::Key::Dot, &FrmCalc::SBtnDotClick}, // 小数点
    {"SBtnDiv", "\xA1\xC2", nullptr, Pad::Calculator, 3, 4, Face::Narrow, "\xB3\xFD", calc::Key::Div,
        &FrmCalc::SBtnDivClick}, // ÷ 除
    {"SBtnCE", "CE", nullptr, Pad::Calculator, 1, 5, Face::Strong, "\xC7\xE5\xB3\xFD\xCA\xE4\xC8\xEB", calc::Key::CE,
        &FrmCalc::SBtnCEClick}, // 清除输入
    {"SBtnC", "C", nullptr, Pad::Calculator, 2, 5, Face::Strong, "\xC8\xAB\xB2\xBF\xC7\xE5\xB3\xFD", calc::Key::C,
        &FrmCalc::SBtnCClick}, // 全部清除
    {"SBtnEqual", "\xA3\xBD", nullptr, Pad::Calculator, 3, 5, Face::Strong, "\xB5\xC8\xD3\xDA", calc::Key::Equal,
        &FrmCalc::SBtnEqualClick}, // ＝ 等于
    {"SBtnSetCess", "\xC9\xE8\xB6\xA8\xCB\xB0\xC2\xCA", nullptr, Pad::Tax, 0, 0, Face::Tax, {}, calc::Key::SetCess,
        &FrmCalc::SBtnSetCessClick}, // 设定税率
    {"SBtnPriceAndTax", "\xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6", nullptr, Pad::Tax, 0, 1, Face::Tax, {},
        calc::Key::PriceAndTax, &FrmCalc::SBtnPriceAndTaxClick}, // 价税合计
    {"SBtnTax", "\xCB\xB0\xBD\xF0", nullptr, Pad::Tax, 1, 0, Face::Tax, {}, calc::Key::Tax,
        &FrmCalc::SBtnTaxClick}, // 税金
    {"SBtnPrice", "\xB2\xBB\xBA\xAC\xCB\xB0\xBC\xDB", nullptr, Pad::Tax, 1, 1, Face::Tax, {}, calc::Key::Price,
        &FrmCalc::SBtnPriceClick}, // 不含税价
    {"SBtnBack", {}, &pictures::kBackGlyph, Pad::Calculator, 0, 5, Face::Strong, "\xCD\xCB\xB8\xF1", calc::Key::Back,
        &FrmCalc::SBtnBackClick}, // 退格
});
static_assert(kKeys.size() == calc::kKeyCount, "kKeys: a Key without its control");
static_assert(calc::noValueTwice(kKeys, &KeyDef::key), "kKeys: a Key with two controls");

// No two keys of a pad in one cell, where one would hide the other.
constexpr bool oneKeyPerCell(const auto& keys)
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            if (keys[i].pad == keys[j].pad && keys[i].row == keys[j].row && keys[i].column == keys[j].column) {
                return false;
            }
        }
    }
    return true;
}
static_assert(oneKeyPerCell(kKeys), "kKeys: two keys in one cell of a pad");

// What a row of the keyboard map clicks: the key of kKeys at this index, or
// the close button.
constexpr std::size_t kCloseControl = kKeys.size();
constexpr std::size_t kNoControl = kKeys.size() + 1;

constexpr std::size_t controlOf(std::string_view name)
{
    if (name == kCloseButton) {
        return kCloseControl;
    }
    const auto* key = std::find_if(kKeys.begin(), kKeys.end(), [name](const KeyDef& def) { return def.name == name; });
    return key == kKeys.end() ? kNoControl : static_cast<std::size_t>(key - kKeys.begin());
}

constexpr auto kMapControls = [] {
    std::array<std::size_t, kKeyMap.size()> controls{};
    std::transform(
        kKeyMap.begin(), kKeyMap.end(), controls.begin(), [](const KeyBinding& row) { return controlOf(row.control); });
    return controls;
}();
static_assert(std::find(kMapControls.begin(), kMapControls.end(), kNoControl) == kMapControls.end(),
    "kKeyMap: a row clicks a control that is neither a key of kKeys nor the close button");

QString latin(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QFont keyFont(Face face)
{
    switch (face) {
    case Face::Memory: return fonts::songFont(16, false);
    case Face::Strong: return fonts::songFont(16, true);
    case Face::Narrow: return fonts::songFont(14, true);
    case Face::Tax: return fonts::songFont(12, false);
    }
    return fonts::songFont(12, false);
}

QRect keyRect(const KeyDef& key)
{
    if (key.pad == Pad::Tax) {
        return {10 + 70 * key.column, 10 + 35 * key.row, 61, 28};
    }
    return {10 + 30 * key.column, 10 + 35 * key.row, 28, 28};
}

void paint(QWidget* widget, QColor background, QColor text = Qt::black)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The selected tape line as classic list boxes draw it, white on navy, with
// or without the focus: 16:1.
void paintSelection(QWidget* widget)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0x00, 0x00, 0x80));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    widget->setPalette(palette);
}

void makePanel(QLabel* panel, QColor background, QColor text, Qt::Alignment alignment)
{
    panel->setTextFormat(Qt::PlainText);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    paint(panel, background, text);
}

} // namespace

FrmCalc::FrmCalc(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , preview_(this, [this](std::uint16_t& key, ShiftState shift) { FormKeyDown(key, shift); })
{
    accessibility::install();
    setObjectName(QStringLiteral("FrmCalc"));
    setWindowTitle(fromGbk(kCaption));
    setWindowIcon(pictures::applicationIcon());
    setFixedSize(art::kWindowWidth, art::kWindowHeight);
    move(182, 175);
    // The layout is drawn place by place: a right-to-left desktop (-reverse,
    // an Arabic or Hebrew locale) must not mirror it.
    setLayoutDirection(Qt::LeftToRight);
    setFont(fonts::songFont(12, false));
    takeFixedLook(this);
    paint(this, kWindowColour);
    createControls();
    spreadFixedLook(this);
    // No control offers a menu of its own (the hint line's would be an
    // English "Copy / Select All").
    for (QWidget* control : findChildren<QWidget*>()) {
        control->setContextMenuPolicy(Qt::PreventContextMenu);
    }
    setContextMenuPolicy(Qt::PreventContextMenu);
    core_.setTapeObserver(&tapeModel_);
    FormCreate();
}

FrmCalc::~FrmCalc() { core_.setTapeObserver(nullptr); }

template <class Control>
Control* FrmCalc::place(Control* control, std::string_view name)
{
    const auto at = std::find_if(kLayout.begin(), kLayout.end(), [name](const Placement& p) { return p.name == name; });
    if (at == kLayout.end()) {
        throw std::logic_error("no layout row for " + std::string(name));
    }
    control->setObjectName(latin(name));
    control->setGeometry(at->left, at->top, at->width, at->height);
    control->setAccessibleName(fromGbk(at->accessible));
    return control;
}

void FrmCalc::createControls()
{
    ImageBak = place(new BackgroundLabel(this), "ImageBak");

    LblTitle = place(new QLabel(fromGbk(kTitleText), this), "LblTitle");
    LblTitle->setFont(fonts::songFont(12, true));
    paint(LblTitle, kWindowColour, Qt::white);
    LblTitle->resize(LblTitle->fontMetrics().horizontalAdvance(LblTitle->text()), 12);
    LblTitle->setCursor(Qt::PointingHandCursor);

    ImageIco = place(new QLabel(this), "ImageIco");
    ImageIco->setCursor(Qt::PointingHandCursor);

    LblCess = place(new QLabel(fromGbk(kRateLabel), this), "LblCess");
    paint(LblCess, kWindowColour, Qt::white);
    LblCess->setCursor(Qt::PointingHandCursor);

    ListBoxShow = place(new TapeView(this), "ListBoxShow");
    paint(ListBoxShow, kPaleColour);
    paintSelection(ListBoxShow);
    ListBoxShow->setFrameStyle(QFrame::Box | QFrame::Plain);
    ListBoxShow->setModel(&tapeModel_);
    connect(ListBoxShow->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) { userSelected(current); });
    connect(&tapeModel_, &TapeModel::coreSelected, this, &FrmCalc::showSelected);

    PanelM = place(new PanelLabel(this), "PanelM");
    PanelM->setFont(fonts::songFont(12, false));
    makePanel(PanelM, kPaleColour, Qt::red, Qt::AlignHCenter);

    MemoHint = place(new HintMemo(this), "MemoHint");
    paint(MemoHint, kPaleColour);

    PanelShow = place(new PanelLabel(this), "PanelShow");
    makePanel(PanelShow, kEntryColour, Qt::black, Qt::AlignRight);

    for (const auto& [pad, name] : {std::pair{&Panel1, "Panel1"}, std::pair{&Panel2, "Panel2"}}) {
        *pad = place(new QFrame(this), name);
        paint(*pad, kWindowColour);
        // Lowered outside, raised inside, one pixel each.
        (*pad)->setFrameStyle(QFrame::Box | QFrame::Sunken);
        (*pad)->setLineWidth(1);
        (*pad)->setMidLineWidth(0);
    }

    PanelCess = place(new PanelLabel(this), "PanelCess");
    PanelCess->setFont(fonts::songFont(12, false));
    makePanel(PanelCess, kPaleColour, Qt::red, Qt::AlignHCenter);

    BitBtnCancel = place(new BitmapButton(this), kCloseButton);
    BitBtnCancel->setText(fromGbk(kCancelCaption));
    // The welcome hint is the one that tells how to leave.
    BitBtnCancel->setAccessibleDescription(fromGbk(calc::hintText(calc::Hint::Welcome)));
    BitBtnCancel->setIconSize(QSize(art::kGlyphSize, art::kGlyphSize));
    BitBtnCancel->setFocusPolicy(Qt::StrongFocus);
    BitBtnCancel->setCursor(Qt::PointingHandCursor);
    connect(BitBtnCancel, &QToolButton::clicked, this, &FrmCalc::BitBtnCancelClick);

    createKeys();
    setTabOrder(ListBoxShow, MemoHint);
    setTabOrder(MemoHint, BitBtnCancel);
    watchMouse();
}

void FrmCalc::createKeys()
{
    for (const KeyDef& def : kKeys) {
        auto* key = new QToolButton(def.pad == Pad::Calculator ? Panel1 : Panel2);
        key->setObjectName(latin(def.name));
        key->setAccessibleName(fromGbk(def.accessible.empty() ? def.caption : def.accessible));
        key->setAccessibleDescription(fromGbk(calc::hintText(calc::hintOf(def.key))));
        key->setGeometry(keyRect(def));
        key->setFont(keyFont(def.face));
        key->setFocusPolicy(Qt::NoFocus);
        key->setCursor(Qt::PointingHandCursor);
        if (!def.glyph) {
            key->setText(fromGbk(def.caption));
        } else {
            key->setIconSize(QSize(art::kGlyphSize, art::kGlyphSize));
        }
        connect(key, &QToolButton::clicked, this, def.handler);
        keys_[static_cast<std::size_t>(&def - kKeys.data())] = key;
    }
    for (std::size_t row = 0; row < kKeyMap.size(); ++row) {
        const std::size_t control = kMapControls[row];
        mapButtons_[row] = control == kCloseControl ? BitBtnCancel : keys_[control];
    }
}

void FrmCalc::watchMouse()
{
    for (QWidget* control : std::initializer_list<QWidget*>{ImageBak, LblTitle, ImageIco, LblCess, ListBoxShow,
             ListBoxShow->viewport(), PanelM, MemoHint, MemoHint->viewport(), PanelShow, Panel1, Panel2, PanelCess}) {
        control->installEventFilter(this);
    }
}

void FrmCalc::ImageIcoClick() { close(); }

// The window shape; the platform clips both painting and the mouse to it.
// The size, the shape, the pictures and the text follow the device pixel ratio
// of the screen the window is on.
void FrmCalc::FormCreate()
{
    prepareForShape(this);
    winId();
    fitToScreen();
    connect(windowHandle(), &QWindow::screenChanged, this, &FrmCalc::fitToScreen);
}

void FrmCalc::fitToScreen()
{
    const qreal ratio = screenRatio(this);
    ImageBak->setPixmap(platform::serverCutsWindows() ? pictures::jpeg(pictures::kBackground, ratio)
                                                      : pictures::clearedBackground(ratio));
    ImageIco->setPixmap(pictures::jpeg(pictures::kIcon, ratio));
    ImageIco->resize(ImageIco->pixmap().deviceIndependentSize().toSize());
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (kKeys[i].glyph) {
            keys_[i]->setIcon(pictures::glyph(*kKeys[i].glyph, ratio));
        }
    }
    BitBtnCancel->setIcon(pictures::glyph(pictures::kCancelGlyph, ratio));
    fonts::fitText(this, ratio);
    fitToRatio(this);
    cutToShape(this, ratio);
}

void FrmCalc::SBtn0Click() { press(calc::Key::D0); }
void FrmCalc::SBtnDotClick() { press(calc::Key::Dot); }
void FrmCalc::SBtn1Click() { press(calc::Key::D1); }
void FrmCalc::SBtn2Click() { press(calc::Key::D2); }
void FrmCalc::SBtn3Click() { press(calc::Key::D3); }
void FrmCalc::SBtn4Click() { press(calc::Key::D4); }
void FrmCalc::SBtn5Click() { press(calc::Key::D5); }
void FrmCalc::SBtn6Click() { press(calc::Key::D6); }
void FrmCalc::SBtn7Click() { press(calc::Key::D7); }
void FrmCalc::SBtn8Click() { press(calc::Key::D8); }
void FrmCalc::SBtn9Click() { press(calc::Key::D9); }
void FrmCalc::SBtnAddClick() { press(calc::Key::Add); }
void FrmCalc::SBtnSubClick() { press(calc::Key::Sub); }
void FrmCalc::SBtnMultiClick() { press(calc::Key::Multi); }
void FrmCalc::SBtnDivClick() { press(calc::Key::Div); }
void FrmCalc::SBtnZFClick() { press(calc::Key::Sign); }
void FrmCalc::SBtnEqualClick() { press(calc::Key::Equal); }
void FrmCalc::SBtnCClick() { press(calc::Key::C); }
void FrmCalc::SBtnCEClick() { press(calc::Key::CE); }
void FrmCalc::SBtnMSClick() { press(calc::Key::MS); }
void FrmCalc::SBtnMAddClick() { press(calc::Key::MAdd); }
void FrmCalc::SBtnMRClick() { press(calc::Key::MR); }
void FrmCalc::SBtnMCClick() { press(calc::Key::MC); }

// The shift state is not looked at: a double click's first press drags too.
void FrmCalc::ImageBakMouseDown(QWidget* sender, Qt::MouseButton button, ShiftState, QPoint pos)
{
    drag_.press(button, sender->mapToGlobal(pos));
}

void FrmCalc::SBtnBackClick() { press(calc::Key::Back); }
void FrmCalc::SBtnSetCessClick() { press(calc::Key::SetCess); }
void FrmCalc::SBtnTaxClick() { press(calc::Key::Tax); }
void FrmCalc::SBtnPriceClick() { press(calc::Key::Price); }
void FrmCalc::SBtnPriceAndTaxClick() { press(calc::Key::PriceAndTax); }

// QDialog::closeEvent rejects: the cancel result of a modal run; as the
// main window, the last window closes and the program ends.
void FrmCalc::BitBtnCancelClick() { close(); }

void FrmCalc::FormKeyDown(std::uint16_t& key, ShiftState shift)
{
    if (const auto row = keyStageOne(key, shift)) {
        mapButtons_[*row]->click();
    }
    if (const auto row = keyStageTwo(key, shift)) {
        mapButtons_[*row]->click();
    }
}

// A new show forgets an earlier pick-up's result, as a new modal run must.
void FrmCalc::FormShow()
{
    run([this] {
        core_.setModalResult(0);
        core_.FormShow();
    });
    ListBoxShow->setFocus();
}

void FrmCalc::ListBoxShowDblClick()
{
    run([this] { core_.ListBoxShowDblClick(); });
    if (core_.modalResult() == QDialog::Accepted && isModal()) {
        accept();
    }
}

void FrmCalc::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A restore by the window manager is no new show: memory and rate stay.
    if (!event->spontaneous()) {
        // The window shows whole on a screen too small for its place.
        if (const QScreen* shownOn = screen()) {
            move(fitInside(frameGeometry(), shownOn->availableGeometry()));
        }
        FormShow();
    }
}

// Enter and Escape act only through the keyboard map, never through
// QDialog's default button or its reject on Escape.
void FrmCalc::keyPressEvent(QKeyEvent* event) { event->ignore(); }

bool FrmCalc::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();

    if (watched == ImageIco) {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            icoPressed_ = true;
        }
        if (type == QEvent::MouseButtonRelease && std::exchange(icoPressed_, false) && ImageIco->rect().contains(pos)) {
            ImageIcoClick();
        }
        return false;
    }
    const bool onTape = watched == ListBoxShow->viewport();
    // The wiring is the left button's: the others neither select a line nor
    // pick one up, close the window or move it.
    const bool left = type == QEvent::MouseMove ? mouse->buttons().testFlag(Qt::LeftButton) || !mouse->buttons()
                                                : mouse->button() == Qt::LeftButton;
    if (!left) {
        return onTape;
    }
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        ImageBakMouseDown(static_cast<QWidget*>(watched), mouse->button(), shiftStateOf(mouse->modifiers()), pos);
        if (type == QEvent::MouseButtonDblClick && (watched == LblTitle || watched == LblCess)) {
            ImageIcoClick();
        }
        if (type == QEvent::MouseButtonDblClick && onTape) {
            ListBoxShowDblClick();
        }
        // Below the last line the selected line stays: the pick-up reads it.
        return onTape && !ListBoxShow->indexAt(pos).isValid();
    case QEvent::MouseMove: return drag_.move(mouse->buttons(), mouse->globalPosition().toPoint());
    default: drag_.release(); return false;
    }
}

void FrmCalc::press(calc::Key key)
{
    run([this, key] { core_.press(key); });
}

// The view follows before an error is reported, so the box shows what the
// action did up to its failure.
template <class Action>
void FrmCalc::run(Action&& action)
{
    following_ = true;
    guard_.run(std::forward<Action>(action), [this] { follow(); });
    following_ = false;
}

void FrmCalc::follow()
{
    PanelShow->setCaption(shownText_(core_.entryText()));
    PanelM->setCaption(shownText_(core_.memoryIndicator()));
    PanelCess->setCaption(shownText_(core_.rateCaption()));
    MemoHint->showHint(shownText_(core_.hintLine()));
}

// The one route of the tape's selection from the core to the view, and so to
// readers: the core tells of every change, its own and those of a deleted
// line or a cleared tape, as it happens. The view's own moves of its current
// row on the way (to a neighbour of a deleted line) are not told.
void FrmCalc::showSelected(int row)
{
    const QModelIndex index = tapeModel_.index(row, 0);
    const bool wasFollowing = std::exchange(following_, true);
    if (!index.isValid()) {
        ListBoxShow->selectionModel()->clear();
    } else if (ListBoxShow->currentIndex() != index || !ListBoxShow->selectionModel()->isSelected(index)) {
        ListBoxShow->setCurrentIndex(index);
    }
    following_ = wasFollowing;
    if (index.isValid()) {
        ListBoxShow->scrollTo(index);
    }
    accessibility::lineMarked(ListBoxShow, index.isValid() ? row : -1);
}

void FrmCalc::userSelected(const QModelIndex& current)
{
    if (!following_) {
        run([this, row = current.isValid() ? current.row() : -1] { core_.selectLine(row); });
    }
}

} // namespace ui
