#include "support/Ui.h"

#include "data/DBGrid.h"
#include "data/DataSet.h"

#include <QLabel>
#include <QLineEdit>

UiSeam::UiSeam()
{
    TDialogs::setHooks(
        [this](const TMessage& m) {
            messages << m;
            if (button_ != QMessageBox::NoButton)
                return button_;
            if (m.buttons.testFlag(QMessageBox::Yes))
                return QMessageBox::Yes;
            return QMessageBox::Ok;
        },
        [this](QDialog& dialog) {
            dialogs << QString::fromLatin1(dialog.metaObject()->className());
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            if (answers_.isEmpty()) {
                ++unanswered;
            } else {
                answers_.takeFirst()(dialog);
            }
            if (dialog.isVisible())
                dialog.done(QDialog::Rejected);
            return dialog.result();
        });
}

UiSeam::~UiSeam()
{
    TDialogs::setHooks({}, {});
}

void UiSeam::onDialog(std::function<void(QDialog&)> answer)
{
    answers_ << std::move(answer);
}

QStringList UiSeam::texts() const
{
    QStringList result;
    for (const TMessage& m : messages)
        result << m.text;
    return result;
}

void UiSeam::clear()
{
    messages.clear();
    dialogs.clear();
    unanswered = 0;
}

void click(const QObject* root, const QString& name)
{
    if (auto* action = root->findChild<QAction*>(name)) {
        action->trigger();
        return;
    }
    find<QAbstractButton>(root, name)->click();
}

void setText(const QObject* root, const QString& name, const QString& text)
{
    auto* edit = find<QLineEdit>(root, name);
    edit->selectAll();
    edit->insert(text);
    if (edit->text() != text)
        edit->setText(text);
}

QString textOf(const QObject* root, const QString& name)
{
    if (auto* edit = root->findChild<QLineEdit*>(name))
        return edit->text();
    return find<QLabel>(root, name)->text();
}

QList<QStringList> gridTexts(const TDBGrid* grid, const QStringList& fields)
{
    QList<QStringList> rows;
    const int count = grid->DataSource()->DataSet()->RecordCount();
    for (int k = 1; k <= count; ++k) {
        QStringList texts;
        for (const QString& field : fields)
            texts << grid->cellText(k, field);
        rows << texts;
    }
    return rows;
}
