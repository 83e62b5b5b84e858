#pragma once

#include "memory_store.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

// Asks where the frequency being heard goes: a bank, one of its memories, and the tag it is to
// carry. The tag box follows the memory chosen until the user types in it, its text selected. Store runs OnStore
// and closes the dialog, unless OnStore fails: its error is reported and the dialog stays.
class TStoreMemoryDialog : public QDialog
{
    Q_OBJECT

public:
    // `banks` is what the memory buttons show; bank and memory are chosen first.
    TStoreMemoryDialog(std::int32_t hertz, const TMemoryBanks &banks, int bank, int memory, QWidget *parent);

    int Bank() const;
    int Memory() const;
    QString Tag() const;

    std::function<void()> OnStore;

    QComboBox *BankBox;
    QComboBox *MemoryBox;
    QLineEdit *TagBox;

private:
    void ListMemories();
    void FollowMemory();

    const TMemoryBanks banks;
};
