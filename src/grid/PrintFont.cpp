#include "grid/PrintFont.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

namespace orvalis {

namespace {

constexpr const char* kPrintFace = "Times New Roman";
constexpr const char* kFallbackFace = "DejaVu Serif";

bool IsInstalled(FcConfig* config, const FcChar8* family)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, family);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

QString ResolveFamily()
{
    if (!FcInit())
        return QString::fromLatin1(kFallbackFace);
    FcConfig* config = nullptr;  // the current configuration, the one Qt draws with
    QString chosen;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kPrintFace));
    // The configuration appends the face's aliases to the family list: first the faces
    // that share its metrics, then the generic families, which end the search because
    // they share nothing but the style.
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        const char* name = reinterpret_cast<const char*>(family);
        if (std::strcmp(name, "serif") == 0 || std::strcmp(name, "sans-serif") == 0 ||
            std::strcmp(name, "monospace") == 0)
            break;
        if (IsInstalled(config, family)) {
            chosen = QString::fromUtf8(name);
            break;
        }
    }
    FcPatternDestroy(pattern);
    return chosen.isEmpty() ? QString::fromLatin1(kFallbackFace) : chosen;
}

} // namespace

QString PrintFontFamily()
{
    static const QString family = ResolveFamily();
    return family;
}

QFont PrintFont(int pixelHeight, int weight)
{
    QFont font(PrintFontFamily());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

} // namespace orvalis
