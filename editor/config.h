#pragma once

#include "colors.h"
#include "memory_store.h"
#include "screen_fit.h"

#include <QWidget>

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TLEDButton;

// The memory editor: bank names, memory tags and frequency texts of all eight banks, saved to
// the memory file by OK. A modeless tool window, hidden until the main window's "MW" shows it;
// given the main window as `parent`, it is that window's transient and stays above it. It keeps
// its own copy of the memories and meets the main window only through the file.
class TForm2 : public QWidget
{
public:
    // The memory file is the one of the program in `programDirectory`.
    explicit TForm2(const QString &programDirectory, QWidget *parent = nullptr);

    static constexpr QPoint DesignedPosition{552, 172};
    static constexpr QSize ClientSize{422, 423};

    void display(int N);
    void pantalla_a_guardar();
    void load_ini();
    void save_ini();
    void FormShow();
    void ok_btnClick();
    void cancelarClick();
    // The bank radio buttons: store the bank being left, show bank N.
    void SelectBank(int N);

    // The editor's copy of the memories, and the bank the edit boxes show.
    TMemTable memorias_cfg;
    TBankNames bancos_cfg;
    int banco_cfg = 1;

    QGroupBox *grupo_bank = nullptr;
    std::array<QRadioButton *, BankCount> SelectBanks{}; // select_b1, selectB2, SelectB3, ...
    QLabel *Label1 = nullptr;
    QLineEdit *bank_name = nullptr;
    QFrame *Bevel1 = nullptr;
    std::array<QLineEdit *, MemoriesPerBank> Tags{};        // m1tag .. m15tag
    std::array<QLineEdit *, MemoriesPerBank> Frequencies{}; // m1freq .. m15freq
    TLEDButton *cancelar = nullptr;
    TLEDButton *ok_btn = nullptr;

    // The controls are made when the dialog is first shown: most runs never open it. Shown, the
    // dialog is kept within its screen's work area.
    void setVisible(bool visible) override;

protected:
    // Shown by the program, the dialog loads the file; shown again by the window system (restored
    // after being minimised), it keeps the edits.
    void showEvent(QShowEvent *event) override;
    // The window manager has framed the window, or the user moved it.
    void moveEvent(QMoveEvent *event) override;
    // A close request from the system only hides the dialog.
    void closeEvent(QCloseEvent *event) override;
    // Esc does what CANCEL does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateControls();
    QLabel *AddLabel(const QString &name, const QString &caption, QPoint position, bool large);
    QLineEdit *AddEdit(const QString &name, const QRect &geometry);
    TLEDButton *AddButton(const QString &name, const QString &caption, const QRect &geometry, TColor colorLED,
                          void (TForm2::*handler)());
    void SetTabOrder();

    QString programDirectory;
    TScreenFit screenFit{*this};
};
