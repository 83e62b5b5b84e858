#include "config.h"

#include "Faceplate.h"
#include "error_report.h"
#include "form_look.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// The designed names of the radio buttons keep the case they were given.
const std::array<QString, BankCount> RadioNames = {u"select_b1"_s, u"selectB2"_s, u"SelectB3"_s, u"SelectB4"_s,
                                                   u"selectB5"_s,  u"selectB6"_s, u"selectB7"_s, u"selectB8"_s};
const std::array<QRect, BankCount> RadioGeometry = {
    QRect(24, 32, 65, 17), QRect(120, 32, 65, 17), QRect(216, 32, 65, 17), QRect(304, 32, 65, 17),
    QRect(24, 56, 73, 17), QRect(120, 56, 65, 17), QRect(216, 56, 65, 17), QRect(304, 56, 65, 17)};

// White captions; the radio buttons' indicators keep their own colours, or their mark would
// vanish into its background.
QPalette WhiteText(QPalette palette)
{
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::white);
    return palette;
}

// Row J of the memory boxes: the left half holds memories 1 to 8, the right half 9 to 15.
int RowTop(int memory)
{
    return 152 + 32 * (memory <= 8 ? memory - 1 : memory - 9);
}

} // namespace

TForm2::TForm2(const QString &programDirectory, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , programDirectory(programDirectory)
{
    SetUpForm(*this, u"Form2"_s, u"Memories"_s, DesignedPosition, ClientSize);
}

void TForm2::setVisible(bool visible)
{
    if (visible && grupo_bank == nullptr) {
        CreateControls();
        SetTabOrder();
    }
    if (visible && !isVisible())
        screenFit.Showing();
    QWidget::setVisible(visible);
}

void TForm2::CreateControls()
{
    grupo_bank = new QGroupBox(u"BANK SELECT"_s, this);
    grupo_bank->setObjectName(u"grupo_bank"_s);
    grupo_bank->setGeometry(8, 8, 393, 81);
    grupo_bank->setPalette(WhiteText(grupo_bank->palette()));

    // Children of the window itself, over the frame: as siblings they form one exclusive group.
    for (int bank = 1; bank <= BankCount; ++bank) {
        auto *radio = new QRadioButton(u"BANK "_s + QString::number(bank), this);
        radio->setObjectName(RadioNames[bank - 1]);
        radio->setGeometry(RadioGeometry[bank - 1]);
        radio->setPalette(WhiteText(radio->palette()));
        connect(radio, &QRadioButton::clicked, this, [this, bank] { RunGuarded([this, bank] { SelectBank(bank); }); });
        SelectBanks[bank - 1] = radio;
    }
    SelectBanks[0]->setChecked(true);

    Label1 = AddLabel(u"Label1"_s, u"BANK NAME"_s, {80, 96}, true);
    bank_name = AddEdit(u"bank_name"_s, QRect(208, 96, 121, 21));
    bank_name->setAccessibleName(Label1->text());

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(u"Bevel1"_s);
    Bevel1->setGeometry(0, 120, 409, 9);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    const QString tagHeading = u"TAG"_s;
    const QString frequencyHeading = u"FREQ (Hz)"_s;
    AddLabel(u"Label10"_s, tagHeading, {64, 136}, false);
    AddLabel(u"Label11"_s, frequencyHeading, {136, 136}, false);
    AddLabel(u"Label12"_s, tagHeading, {272, 136}, false);
    AddLabel(u"Label13"_s, frequencyHeading, {344, 136}, false);

    for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
        const bool left = memory <= 8;
        // Label2..Label9 for memories 1..8, Label14 for 9 and Label15..Label20 for 10..15.
        const int labelNumber = left ? memory + 1 : memory + 5;
        const QPoint labelAt = left ? QPoint(8, RowTop(memory)) : QPoint(memory == 9 ? 216 : 208, RowTop(memory));
        const QString number = QString::number(memory);
        const QString row = u"M "_s + number;
        AddLabel(u"Label"_s + QString::number(labelNumber), row, labelAt, true);
        Tags[memory - 1] = AddEdit(u"m"_s + number + u"tag"_s, QRect(left ? 40 : 248, RowTop(memory), 73, 21));
        Frequencies[memory - 1] = AddEdit(u"m"_s + number + u"freq"_s, QRect(left ? 120 : 328, RowTop(memory), 81, 21));
        // Each box is named by its row's label and its column's heading, as the eye reads them.
        Tags[memory - 1]->setAccessibleName(row + u' ' + tagHeading);
        Frequencies[memory - 1]->setAccessibleName(row + u' ' + frequencyHeading);
    }
    cancelar = AddButton(u"cancelar"_s, u"CANCEL"_s, QRect(256, 376, 57, 41), clRed, &TForm2::cancelarClick);
    ok_btn = AddButton(u"ok_btn"_s, u"OK"_s, QRect(344, 376, 57, 41), clLime, &TForm2::ok_btnClick);
}

TLEDButton *TForm2::AddButton(const QString &name, const QString &caption, const QRect &geometry, TColor colorLED,
                              void (TForm2::*handler)())
{
    auto *button = new TLEDButton(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->SetCaption(caption);
    button->SetBeveled(true);
    button->SetBorderStyle(bsSingle);
    button->SetButtonDirection(bdBottomUp);
    button->SetColor(clGray);
    button->SetFont(TFont{font(), clWindowText});
    button->SetDepth(3);
    button->SetColorLED(colorLED);
    button->SetLEDContrast(6);
    button->SetShowLED(true);
    button->SetStateOn(true);
    button->SetSwitching(true);
    button->SetTextPosition(tpOnButton);
    button->OnClick = Guarded([this, handler] { (this->*handler)(); });
    return button;
}

QLabel *TForm2::AddLabel(const QString &name, const QString &caption, QPoint position, bool large)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setPalette(WhiteText(label->palette()));
    if (large) {
        QFont twelvePoint = font();
        twelvePoint.setPixelSize(16);
        label->setFont(twelvePoint);
    }
    label->move(position);
    label->adjustSize();
    return label;
}

QLineEdit *TForm2::AddEdit(const QString &name, const QRect &geometry)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setMaxLength(32767); // no limit of its own: long texts are cut when stored
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, QColor(0x80, 0x80, 0x80));
    colours.setColor(QPalette::Text, Qt::white);
    edit->setPalette(colours);
    return edit;
}

// By rows, as the eye reads: the radio buttons, the bank name, then tag and frequency of the
// memory on the left of each row and of the one on its right.
void TForm2::SetTabOrder()
{
    QList<QWidget *> order;
    for (QRadioButton *radio : SelectBanks)
        order << radio;
    order << bank_name;
    for (int row = 1; row <= 8; ++row) {
        order << Tags[row - 1] << Frequencies[row - 1];
        if (const int right = row + 8; right <= MemoriesPerBank)
            order << Tags[right - 1] << Frequencies[right - 1];
    }
    // The LED buttons last, so the keyboard reaches them too.
    order << cancelar << ok_btn;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TForm2::display(int N)
{
    banco_cfg = N;
    bank_name->setText(bancos_cfg[N]);
    for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
        Tags[memory - 1]->setText(memorias_cfg(N, memory).tag);
        Frequencies[memory - 1]->setText(memorias_cfg(N, memory).freq);
    }
}

void TForm2::pantalla_a_guardar()
{
    bancos_cfg[banco_cfg] = bank_name->text();
    for (int memory = 1; memory <= MemoriesPerBank; ++memory) {
        memorias_cfg(banco_cfg, memory).tag = Tags[memory - 1]->text();
        memorias_cfg(banco_cfg, memory).freq = Frequencies[memory - 1]->text();
    }
}

void TForm2::load_ini()
{
    const TMemoryBanks banks = TMemoryFile::ForProgramIn(programDirectory).Load();
    bancos_cfg = banks.names;
    memorias_cfg = banks.memories;
}

void TForm2::save_ini()
{
    TMemoryFile::ForProgramIn(programDirectory).Save(TMemoryBanks{bancos_cfg, memorias_cfg});
}

void TForm2::FormShow()
{
    load_ini();
    display(1);
    // The boxes show bank 1, so the selector says so too.
    SelectBanks[0]->setChecked(true);
    cancelar->SetStateOn(true);
    ok_btn->SetStateOn(true);
}

void TForm2::SelectBank(int N)
{
    pantalla_a_guardar();
    display(N);
}

void TForm2::ok_btnClick()
{
    pantalla_a_guardar();
    save_ini();
    hide();
}

void TForm2::cancelarClick()
{
    hide();
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    screenFit.Shown();
    if (event->spontaneous())
        return;
    RunGuarded([this] { FormShow(); });
}

void TForm2::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    screenFit.Moved();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void TForm2::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancelar != nullptr)
        cancelar->Press();
    else
        QWidget::keyPressEvent(event);
}
