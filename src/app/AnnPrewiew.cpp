#include "app/AnnPrewiew.h"

#include <QStringEncoder>

#include "ui/ErrorDisplay.h"
#include "ui/Hints.h"
#include "app/RtfText.h"
#include "data/DataZRT.h"
#include "ui_AnnPrewiew.h"

#include <QApplication>
#include <QScopeGuard>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

TFormAnnPrewiew* FormAnnPrewiew = nullptr;

TFormAnnPrewiew::TFormAnnPrewiew(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::TFormAnnPrewiew)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    mirrorHints(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    FormAnnPrewiew = this;
}

TFormAnnPrewiew::~TFormAnnPrewiew()
{
    if (FormAnnPrewiew == this)
        FormAnnPrewiew = nullptr;
    delete ui;
}

QTextEdit* TFormAnnPrewiew::RichEdit1() const
{
    return ui->RichEdit1;
}

void TFormAnnPrewiew::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runHandler([this] { FormShow(); });
}

QByteArray TFormAnnPrewiew::lowBytes(const QString& text)
{
    // A text that holds characters beyond one byte was stored as Unicode, not
    // as single-byte text: cutting off its high bytes would garble every
    // Cyrillic letter, so it is taken to the single-byte code page instead.
    for (QChar c : text) {
        if (c.unicode() > 0xFF) {
            QStringEncoder encoder("windows-1251");
            if (encoder.isValid())
                return encoder.encode(text);
            break;
        }
    }
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF));
    return bytes;
}

QColor TFormAnnPrewiew::windowsColor(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    const quint32 v = quint32(value.toLongLong());
    if ((v & 0xFF000000u) == 0x80000000u) {
        // A system colour: the index of the Windows colour in the low byte.
        switch (v & 0xFFu) {
        case 5: return QApplication::palette().color(QPalette::Base);         // window
        case 15: return QApplication::palette().color(QPalette::Button);      // button face
        case 24: return QApplication::palette().color(QPalette::ToolTipBase); // tool tip
        default: return {};
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

void TFormAnnPrewiew::FormShow()
{
    TQuery* q = DataZRT->GETadv;
    const auto closeQuery = qScopeGuard([q] { q->Close(); });
    q->Open();

    const QColor background = windowsColor(q->FieldByName(u"ColorCanvas"_s).value());
    if (background.isValid()) {
        QPalette palette = ui->RichEdit1->palette();
        palette.setColor(QPalette::Base, background);
        ui->RichEdit1->setPalette(palette);
    }

    const QByteArray bytes = lowBytes(q->FieldByName(u"BodyAdv"_s).value().toString());
    if (isRtf(bytes)) {
        RtfToDocument(bytes, *ui->RichEdit1->document());
    } else {
        QStringDecoder decoder("windows-1251");
        ui->RichEdit1->setPlainText(decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes));
    }
}
