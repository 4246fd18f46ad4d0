#include "shell/MessageBoxPrompts.h"

#include "shell/ShownText.h"
#include "shell/core/AppTitle.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>

namespace orvalis {

namespace {

QWidget* Owner()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // No window has the focus just after another box closed when no window manager
    // hands it back: the box still belongs over the main window, not loose on the
    // screen where the main window could cover it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(window) && window->isVisible())
            return window;
    }
    return nullptr;
}

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, AppTitle(), BoundedMessageText(text), buttons, Owner());
    box.setDefaultButton(defaultButton);
    // A file name is text, whatever tags it holds.
    box.setTextFormat(Qt::PlainText);
    // A path in a message (a help page to open by hand) can be copied from the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxPrompts::Error(const std::string& text)
{
    Show(QMessageBox::Warning, QString::fromStdString(text), QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompts::Information(const std::string& text)
{
    Show(QMessageBox::Information, QString::fromStdString(text), QMessageBox::Ok,
         QMessageBox::Ok);
}

void MessageBoxPrompts::Plain(const std::string& text)
{
    Show(QMessageBox::NoIcon, QString::fromStdString(text), QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompts::Ask(const std::string& text)
{
    return Show(QMessageBox::Question, QString::fromStdString(text),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

UiPrompts::SaveAnswer MessageBoxPrompts::AskSaveChanges(const QString& title)
{
    switch (Show(QMessageBox::Question, SaveChangesText(title),
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return SaveAnswer::Yes;
    case QMessageBox::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

QString MessageBoxPrompts::ChooseFile(LastFolders::Kind kind, const QString& caption,
                                      const QString& filter)
{
    const QString start = m_folders ? m_folders->StartFolder(kind) : QString();
    const QString path = QFileDialog::getOpenFileName(Owner(), caption, start, filter);
    if (m_folders)
        m_folders->Remember(kind, path);
    return path;
}

QString MessageBoxPrompts::ChooseOpenFile(const QString& filter)
{
    return ChooseFile(LastFolders::Kind::Worksheet, QStringLiteral("Open"), filter);
}

QString MessageBoxPrompts::ChooseImportFile(const QString& filter)
{
    return ChooseFile(LastFolders::Kind::Import, QStringLiteral("Open"), filter);
}

QString MessageBoxPrompts::ChooseSaveFile(const QString& suggestedName, const QString& filter)
{
    const QString start = m_folders ? m_folders->SaveStart(suggestedName) : suggestedName;
    const QString path =
        QFileDialog::getSaveFileName(Owner(), QStringLiteral("Save As"), start, filter);
    if (m_folders)
        m_folders->Remember(LastFolders::Kind::Worksheet, path);
    return path;
}

QString MessageBoxPrompts::ChooseExportFile(const QString& suggestedName, const QString& filter)
{
    const QString start = m_folders ? m_folders->SaveStart(suggestedName) : suggestedName;
    return QFileDialog::getSaveFileName(Owner(), QStringLiteral("Export"), start, filter);
}

bool MessageBoxPrompts::RunDialog(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvalis
