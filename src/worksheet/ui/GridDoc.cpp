#include "worksheet/ui/GridDoc.h"

#include "worksheet/Worksheet.h"

namespace orvalis {

QString CGridDoc::FileFilter()
{
    return QStringLiteral("Worsheets (*.ows);;All Files (*)");
}

QString CGridDoc::FileExtension()
{
    return QStringLiteral(".ows");
}

CGridDoc::CGridDoc(AppSettings& settings, UiPrompts& prompts, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_worksheet(std::make_unique<Worksheet>(settings, prompts))
{
    m_worksheet->SetModifiedObserver([this](bool modified) { emit modifiedChanged(modified); });
}

CGridDoc::~CGridDoc()
{
    m_worksheet->SetModifiedObserver(nullptr);
}

void CGridDoc::SetTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(title);
}

bool CGridDoc::IsModified() const
{
    return m_worksheet->IsModified();
}

void CGridDoc::SetModifiedFlag(bool modified)
{
    m_worksheet->SetModified(modified);
}

bool CGridDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_prompts.AskSaveChanges(m_title)) {
    case UiPrompts::SaveAnswer::Yes:
        return DoFileSave();
    case UiPrompts::SaveAnswer::No:
        return true;
    case UiPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace orvalis
