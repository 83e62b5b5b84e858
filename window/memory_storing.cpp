#include "memory_storing.h"

#include "Faceplate.h"
#include "spoken_words.h"
#include "store_memory_dialog.h"
#include "tstSDR.h"
#include "window_menu.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

// A text shown in a menu: "&" would mark a mnemonic there.
QString ForMenu(QString text)
{
    return text.replace(u'&', u"&&"_s);
}

} // namespace

TMemoryStoring::TMemoryStoring(TForm1 &form, TWindowMenu &menu, const QString &programDirectory)
    : QObject(&form)
    , StoreAction(new QAction(&form))
    , form(form)
    , programDirectory(programDirectory)
{
    StoreAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menu.Add(TMenuSection::Memories, StoreAction);
    form.addAction(StoreAction);
    // The item names the frequency as it is when the menu opens.
    auto name = [this] {
        StoreAction->setText(u"Store "_s + SpokenFrequency(this->form.frecuencia) + u" in a memory\u2026"_s);
    };
    name();
    connect(&menu.Menu(), &QMenu::aboutToShow, this, name);
    connect(StoreAction, &QAction::triggered, this, [this] { Ask(this->form.banco, this->form.memoria); });

    for (int j = 1; j <= MemoriesPerBank; ++j) {
        TLEDButton *button = form.Mem[j - 1];
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [this, j](const QPoint &at) { OpenMemoryMenu(j, at); });
    }
}

void TMemoryStoring::OpenMemoryMenu(int memory, const QPoint &at)
{
    const QString name = MemoryName(memory, form.memorias(form.banco, memory));
    auto *menu = new QMenu(&form);
    menu->setObjectName(u"memoryMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(ForMenu(u"Store "_s + SpokenFrequency(form.frecuencia) + u" in "_s + name + u"\u2026"_s), this,
                    [this, memory] { Ask(form.banco, memory); });
    menu->popup(form.Mem[memory - 1]->mapToGlobal(at));
}

void TMemoryStoring::Ask(int bank, int memory)
{
    Ask(bank, memory, form.frecuencia, {});
}

void TMemoryStoring::Ask(int bank, int memory, std::int32_t hertz, const QString &tag)
{
    TMemoryBanks shown;
    for (int n = 1; n <= BankCount; ++n)
        shown.names[n] = form.Bank[n - 1]->Caption();
    shown.memories = form.memorias;
    auto *dialog = new TStoreMemoryDialog(hertz, shown, bank, memory, &form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!tag.isEmpty()) {
        // Marked as typed: choosing another memory keeps it.
        dialog->TagBox->setText(tag);
        dialog->TagBox->setModified(true);
        dialog->TagBox->selectAll();
    }
    dialog->OnStore = [this, dialog, hertz] { Store(dialog->Bank(), dialog->Memory(), hertz, dialog->Tag()); };
    dialog->open();
}

void TMemoryStoring::Store(int bank, int memory, std::int32_t hertz, const QString &tag)
{
    const TMemSlot slot{QString::number(hertz), tag};
    TMemoryFile::ForProgramIn(programDirectory).StoreMemory(bank, memory, slot);
    form.memorias(bank, memory) = slot;
    if (bank == form.banco)
        form.actualiza_memorias();
}
