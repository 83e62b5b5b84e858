#include "store_memory_dialog.h"

#include "error_report.h"
#include "spoken_words.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

TStoreMemoryDialog::TStoreMemoryDialog(std::int32_t hertz, const TMemoryBanks &banks, int bank, int memory,
                                       QWidget *parent)
    : QDialog(parent)
    , BankBox(new QComboBox(this))
    , MemoryBox(new QComboBox(this))
    , TagBox(new QLineEdit(this))
    , banks(banks)
{
    setObjectName(u"storeMemory"_s);
    setWindowTitle(u"Store a memory"_s);
    BankBox->setObjectName(u"bank"_s);
    MemoryBox->setObjectName(u"memory"_s);
    TagBox->setObjectName(u"tag"_s);
    TagBox->setMaxLength(TShortText::MaxLength);
    for (int n = 1; n <= BankCount; ++n)
        BankBox->addItem(u"%1  %2"_s.arg(n).arg(banks.names[n].str()));
    BankBox->setCurrentIndex(bank - 1);
    ListMemories();
    MemoryBox->setCurrentIndex(memory - 1);
    FollowMemory();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(u"&Store"_s, QDialogButtonBox::AcceptRole)->setDefault(true);
    auto *layout = new QFormLayout(this);
    auto *frequency = new QLabel(SpokenFrequency(hertz), this);
    frequency->setObjectName(u"frequency"_s);
    layout->addRow(u"Frequency:"_s, frequency);
    layout->addRow(u"&Bank:"_s, BankBox);
    layout->addRow(u"&Memory:"_s, MemoryBox);
    layout->addRow(u"&Tag:"_s, TagBox);
    layout->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (RunGuarded(OnStore))
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(BankBox, &QComboBox::currentIndexChanged, this, [this] {
        const int chosen = MemoryBox->currentIndex();
        ListMemories();
        MemoryBox->setCurrentIndex(chosen);
        FollowMemory();
    });
    connect(MemoryBox, &QComboBox::currentIndexChanged, this, [this] { FollowMemory(); });
    TagBox->setFocus();
}

int TStoreMemoryDialog::Bank() const
{
    return BankBox->currentIndex() + 1;
}

int TStoreMemoryDialog::Memory() const
{
    return MemoryBox->currentIndex() + 1;
}

QString TStoreMemoryDialog::Tag() const
{
    return TagBox->text();
}

void TStoreMemoryDialog::ListMemories()
{
    const QSignalBlocker quiet(MemoryBox);
    MemoryBox->clear();
    for (int j = 1; j <= MemoriesPerBank; ++j)
        MemoryBox->addItem(u"M %1  "_s.arg(j) + MemoryInWords(j, banks.memories(Bank(), j)));
}

// Selected, so that what the user types replaces it.
void TStoreMemoryDialog::FollowMemory()
{
    if (TagBox->isModified())
        return;
    TagBox->setText(banks.memories(Bank(), Memory()).tag);
    TagBox->selectAll();
}
