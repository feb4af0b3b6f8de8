#include "ui/ModalRunner.h"

#include <QDialog>

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
