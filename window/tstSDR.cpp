#include "tstSDR.h"

#include "sdr.h"
#include "window_font.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

TForm1::TForm1(D2xx &port, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , port(port)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Corvex-Corvin"_s);
    setFont(WindowFont());
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    move(DesignedPosition);
    setFixedSize(OuterSize);
    CreateControls();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::CreateControls()
{
    info = new QLabel(u"-"_s, this);
    info->setObjectName(u"info"_s);
    info->setGeometry(8, 224, 385, 17);
    info->setTextFormat(Qt::PlainText);
    QPalette white = info->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    info->setPalette(white);
}

void TForm1::FormCreate()
{
    sdr = new Tsdr(this, port);
    sdr->OnMessage = [this](Tsdr *Sender, const QString &Text) { escribir_memo(Sender, Text); };
    sdr->Initialize();
    // Topmost comes from the window flags given at creation: it neither moves, resizes nor
    // activates the window.
}

void TForm1::FormDestroy()
{
    delete sdr;
    sdr = nullptr;
}

void TForm1::escribir_memo(Tsdr *, const QString &Text)
{
    info->setText(Text);
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FitOuterSize();
}

// The designed size is the outer size, frame included; the frame is known only once shown.
void TForm1::FitOuterSize()
{
    const QSize frame = frameGeometry().size() - size();
    setFixedSize(OuterSize - frame);
}
