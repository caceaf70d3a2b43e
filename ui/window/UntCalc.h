#pragma once

#include "calc/Calculator.h"
#include "ui/keyboard/KeyMap.h"
#include "ui/keyboard/KeyPreview.h"
#include "ui/look/Fonts.h"
#include "ui/platform/WindowDrag.h"
#include "ui/window/ErrorGuard.h"
#include "ui/window/GbkText.h"
#include "ui/window/TapeModel.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string_view>

class QAbstractButton;
class QFrame;
class QLabel;
class QToolButton;

namespace ui {
class HintMemo;
class PanelLabel;
class TapeView;
} // namespace ui

namespace ui {

// The calculator window. It draws the core and forwards every input to it;
// each handler is one user action.
//
// As the program's main window: show() it and run the event loop; closing it
// ends the program. As a value picker: setValue(), then exec(); a double click
// on a tape line with a number ends the run with QDialog::Accepted and the
// number in Value(), closing it ends the run with QDialog::Rejected.
class FrmCalc : public QDialog {
    Q_OBJECT

public:
    explicit FrmCalc(QWidget* parent = nullptr);
    ~FrmCalc() override;

    calc::Extended Value() const { return core_.value(); }
    void setValue(calc::Extended value) { core_.setValue(value); }
    // The rate every show starts at; false for one the rate key refuses.
    bool setStartRate(calc::Extended rate) { return core_.setStartRate(rate); }
    const calc::Calculator& core() const { return core_; }
    // Tests swap the reporter so that an error shows no blocking box.
    void setErrorReporter(ErrorGuard::Reporter reporter) { guard_.setReporter(std::move(reporter)); }

    void ImageIcoClick();
    void FormCreate();
    void SBtn0Click();
    void SBtnDotClick();
    void SBtn1Click();
    void SBtn2Click();
    void SBtn3Click();
    void SBtn4Click();
    void SBtn5Click();
    void SBtn6Click();
    void SBtn7Click();
    void SBtn8Click();
    void SBtn9Click();
    void SBtnAddClick();
    void SBtnSubClick();
    void SBtnMultiClick();
    void SBtnDivClick();
    void SBtnZFClick();
    void SBtnEqualClick();
    void SBtnCClick();
    void SBtnCEClick();
    void SBtnMSClick();
    void SBtnMAddClick();
    void SBtnMRClick();
    void SBtnMCClick();
    void ImageBakMouseDown(QWidget* sender, Qt::MouseButton button, ShiftState shift, QPoint pos);
    void SBtnBackClick();
    void SBtnSetCessClick();
    void SBtnTaxClick();
    void SBtnPriceClick();
    void SBtnPriceAndTaxClick();
    void BitBtnCancelClick();
    void FormKeyDown(std::uint16_t& key, ShiftState shift);
    void FormShow();
    void ListBoxShowDblClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class Control>
    Control* place(Control* control, std::string_view name);
    void createControls();
    void createKeys();
    void watchMouse();
    void fitToScreen();

    void press(calc::Key key);
    template <class Action>
    void run(Action&& action);
    void follow();
    void showSelected(int row);
    void userSelected(const QModelIndex& current);

    // First, before any text box is made.
    fonts::ApplicationText applicationText_;
    calc::Calculator core_;
    // The captions change with every key; one decoder serves them all.
    GbkText shownText_;
    TapeModel tapeModel_{core_.tape()};
    ErrorGuard guard_{this};
    WindowDrag drag_{this};
    KeyPreview preview_;
    // Set while the core acts: the view's own moves of its current row (a
    // deleted line, a reset) are then not the user's choice.
    bool following_ = false;
    bool icoPressed_ = false;

    QLabel* ImageBak = nullptr;
    QLabel* LblTitle = nullptr;
    QLabel* ImageIco = nullptr;
    QLabel* LblCess = nullptr;
    TapeView* ListBoxShow = nullptr;
    PanelLabel* PanelM = nullptr;
    HintMemo* MemoHint = nullptr;
    PanelLabel* PanelShow = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    PanelLabel* PanelCess = nullptr;
    QToolButton* BitBtnCancel = nullptr;
    // The keys in the order of their table, and what each row of the
    // keyboard map clicks, resolved once as the keys are made.
    std::array<QToolButton*, calc::kKeyCount> keys_{};
    std::array<QAbstractButton*, kKeyMap.size()> mapButtons_{};
};

} // namespace ui
