#include "shell/ColorConfigDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace orvalis {

namespace {

struct SectionRow {
    const char* label;
    const char* name;  // for accessible names
    Colour defaultColour;
};

constexpr std::array<SectionRow, 4> kSections = {{
    {"Training Sect:", "Training section", 0x00C0C0},
    {"Testing Sect:", "Testing section", 0x008080},
    {"Evaluation Sect:", "Evaluation section", 0xC0C000},
    {"Extrapolation Sect:", "Extrapolation section", 0x808000},
}};

}  // namespace

ColorConfigDialog::ColorConfigDialog(AppSettings& settings, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setWindowTitle(QStringLiteral("Color Configuration"));
    setAccessibleName(windowTitle());
    // The chooser starts from black, not from the section's colour; a cancelled chooser
    // leaves the colour as it was.
    m_chooser = [](QWidget* owner) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(Qt::black, owner);
        if (!colour.isValid())
            return std::nullopt;
        return colour;
    };
    auto* grid = new QGridLayout;
    for (int i = 0; i < static_cast<int>(kSections.size()); ++i) {
        const SectionRow& row = kSections[static_cast<std::size_t>(i)];
        auto* label = new QLabel(QString::fromLatin1(row.label), this);
        auto* select = new QPushButton(QStringLiteral("Select"), this);
        auto* reset = new QPushButton(QStringLiteral("Default"), this);
        select->setAutoDefault(false);
        reset->setAutoDefault(false);
        select->setAccessibleName(QStringLiteral("Select %1 colour").arg(QLatin1String(row.name)));
        reset->setAccessibleName(QStringLiteral("Default %1 colour").arg(QLatin1String(row.name)));
        select->setObjectName(QStringLiteral("select%1").arg(i));
        reset->setObjectName(QStringLiteral("default%1").arg(i));
        grid->addWidget(label, i, 0);
        grid->addWidget(select, i, 1);
        grid->addWidget(reset, i, 2);
        connect(select, &QPushButton::clicked, this, [this, i] { SelectColor(i); });
        connect(reset, &QPushButton::clicked, this, [this, i] { DefaultColor(i); });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

Colour& ColorConfigDialog::SectionColour(int section)
{
    switch (section) {
    case 0:
        return m_settings.trainColor;
    case 1:
        return m_settings.testColor;
    case 2:
        return m_settings.evalColor;
    default:
        return m_settings.extrpColor;
    }
}

void ColorConfigDialog::SelectColor(int section)
{
    if (const std::optional<QColor> chosen = m_chooser(this))
        SectionColour(section) = FromQColor(*chosen);
}

void ColorConfigDialog::DefaultColor(int section)
{
    SectionColour(section) = kSections[static_cast<std::size_t>(section)].defaultColour;
}

QColor ColorConfigDialog::ToQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Colour ColorConfigDialog::FromQColor(const QColor& colour)
{
    return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8)
           | (static_cast<Colour>(colour.blue()) << 16);
}

}  // namespace orvalis
