// The message catalogue through Qt's translation system.
//
// Every entry is translated in the context "VXResource" with its default
// English text as the source text, so a QTranslator loaded from a .qm file
// made from the generated vexar.ts (every source text of the catalogue)
// translates the catalogue. The components call InstallQtTranslations when
// the application's language changes (QEvent::LanguageChange, sent when a
// translator is installed or removed); an application without a component on
// screen may call it itself.
#pragma once

namespace Vexar {

// The translation context of the catalogue's texts.
inline constexpr char ResourceContext[] = "VXResource";

// Replaces every catalogue text by its translation through the installed
// QTranslators (the default text where none translates it). Texts set by
// SetResString are replaced as well.
void InstallQtTranslations();

}  // namespace Vexar
