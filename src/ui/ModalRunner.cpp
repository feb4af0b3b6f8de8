#include "ui/ModalRunner.h"

#include <QMessageBox>

namespace {
TModalRunner*& Installed()
{
    static TModalRunner* runner = nullptr;
    return runner;
}
} // namespace

int RunModal(QDialog& dialog)
{
    if (TModalRunner* runner = Installed())
        return runner->Run(dialog);
    return dialog.exec();
}

TModalRunner* InstallModalRunner(TModalRunner* runner)
{
    TModalRunner* previous = Installed();
    Installed() = runner;
    return previous;
}

void ShowErrorBox(const QString& title, const QString& text)
{
    // As QMessageBox::critical builds it: OK is also the default button.
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton);
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
    RunModal(box);
}
