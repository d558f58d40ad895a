// Which properties of which classes hold translatable texts beyond the stock table.
//
// TVorlect knows the stock controls' texts and, for any other class, its Caption, Text and Hint.
// Components from other libraries often keep more texts (a title, a column caption, a list of
// choices) or keep a caption that must never change language (a data-aware label showing a
// field's value). A finished application names them once at start-up; the expert feeds the same
// registry from the project's settings file.
//
// A property path is a property name, or names joined by full stops that walk through sub-objects
// and collections: "Title", "Choices" (a string list), "Columns.Title.Caption" (the title caption
// of every item of the collection Columns). A class name matches the class and its descendants,
// ASCII case ignored; "*" names every class.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlect::host {
class ClassInfo;
}

namespace vorlect::runtime {

// Captures and applies `propertyPath` of components of `className`, after the texts the stock
// table gives the class and before its hint. Paths the class's row already takes, and "Hint"
// (the hint rule takes it), are not taken twice. Registering a pair twice changes nothing.
void RegisterTranslatableProperty(std::string_view className, std::string_view propertyPath);

// Never captures nor applies `propertyPath` of components of `className`: also a text the stock
// table takes ("Caption", "Items", "Hint", "Columns.Title.Caption"); a path names its own texts
// and everything below it ("Columns" covers "Columns.Title.Caption").
void RegisterUntranslatedProperty(std::string_view className, std::string_view propertyPath);

// Forgets every registered pair (a new project's settings replace the last one's).
void ClearRegisteredProperties();

// What the registry says about one class, in registration order. Paths keep their spelling.
struct TranslatableRules {
  std::vector<std::string> translate;
  std::vector<std::string> never;
};
TranslatableRules RegisteredRulesFor(const host::ClassInfo& cls);

// Grows with every change of the registry, so that per-class caches know when to look again.
unsigned RegisteredPropertiesGeneration();

// Whether `path` is `never` or lies below it ("Columns.Title.Caption" below "Columns"), ASCII
// case ignored.
bool PathCovers(std::string_view never, std::string_view path);

}  // namespace vorlect::runtime
