#pragma once

#include <QWidget>

// The memory editor: bank names, memory tags and frequency texts of all eight banks, saved to
// the memory file by OK. A tool window, hidden until the main window's "MW" shows it.
class TForm2 : public QWidget
{
public:
    explicit TForm2(QWidget *parent = nullptr);

    static constexpr QPoint DesignedPosition{552, 172};
    static constexpr QSize ClientSize{422, 423};

protected:
    // A close request from the system only hides the dialog.
    void closeEvent(QCloseEvent *event) override;
};
