#include "worksheet/ui/GridView.h"

#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"

#include <QVBoxLayout>

namespace orvalis {

CGridView::CGridView(CGridDoc& doc, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_grid(new CWorksheetGrid(doc.GetWorksheet().Store(), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_grid->setFocusPolicy(Qt::StrongFocus);
    m_grid->setAccessibleName(QStringLiteral("Worksheet"));
    setFocusProxy(m_grid);
    // An edit open when a training run starts ends first, so the run reads it.
    connect(&doc, &CGridDoc::runLockChanged, m_grid, [this](bool locked) {
        if (locked)
            m_grid->EndEditing();
    });
    // The grid now measures with the screen's fonts: size the header block to them.
    doc.GetWorksheet().AutoSizeHeaderBlock();
}

CGridView::~CGridView()
{
    // The grid stops listening to the cells before the worksheet can go.
    delete m_grid;
}

} // namespace orvalis
