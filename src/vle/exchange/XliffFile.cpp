#include "vle/exchange/XliffFile.h"

#include "platform/CodePages.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vorlect::vle::xliff {

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Characters XML 1.0 has no room for, not even as a reference.
bool XmlCannotHold(std::uint32_t cp) {
  if (cp < 0x20) return cp != '\t' && cp != '\n' && cp != '\r';
  return (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF;
}

// Calls fn for every code point of a UTF-8 text; a byte that starts no well-formed sequence is
// taken as the code point of its value, as the rest of the system reads such bytes.
template <class Fn>
void ForEachCodePoint(std::string_view utf8, Fn&& fn) {
  const std::u16string units = platform::Utf8ToUtf16(utf8);
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    fn(cp);
  }
}

std::string Hex4(std::uint32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, cp > 0xFFFF ? "%06X" : "%04X", cp);
  return buf;
}

// ---- Reading ------------------------------------------------------------------------------------

struct TDocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct TCtxtFree {
  void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};

const char* Name(const xmlNode* n) { return reinterpret_cast<const char*>(n->name); }

bool Is(const xmlNode* n, const char* name, const char* ns) {
  return n && n->type == XML_ELEMENT_NODE && std::strcmp(Name(n), name) == 0 && n->ns &&
         std::strcmp(reinterpret_cast<const char*>(n->ns->href), ns) == 0;
}

std::string Attr(const xmlNode* n, const char* name) {
  xmlChar* v = xmlGetNoNsProp(n, reinterpret_cast<const xmlChar*>(name));
  if (!v) return {};
  std::string s(reinterpret_cast<const char*>(v));
  xmlFree(v);
  return s;
}

bool HasAttr(const xmlNode* n, const char* name) {
  return xmlHasNsProp(n, reinterpret_cast<const xmlChar*>(name), nullptr) != nullptr;
}

// A code point from hex digits; false for anything else.
bool ParseHex(std::string_view hex, std::uint32_t& cp) {
  if (hex.empty() || hex.size() > 6) return false;
  cp = 0;
  for (char c : hex) {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return false;
    cp = cp * 16 + static_cast<std::uint32_t>(d);
  }
  return cp <= 0x10FFFF;
}

class TReader {
public:
  explicit TReader(const char* ns) : ns_(ns) {}

  // The text of an inline content element: text and our code-point placeholders; markup of other
  // tools' inline codes gives its text where it has one, and nothing where it is a native code.
  std::string Text(const xmlNode* parent, int depth = 0) {
    std::string out;
    if (depth > 64) throw TXliffError("line " + std::to_string(xmlGetLineNo(parent)) + ": inline markup nested too deep");
    for (const xmlNode* c = parent->children; c; c = c->next) {
      if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
        if (c->content) out += reinterpret_cast<const char*>(c->content);
        continue;
      }
      if (c->type != XML_ELEMENT_NODE) continue;
      std::uint32_t cp = 0;
      if (Is(c, "cp", ns_) && ParseHex(Attr(c, "hex"), cp)) {
        AppendUtf8(out, cp);
      } else if (Is(c, "x", ns_) && Attr(c, "ctype").starts_with("x-cp-") && ParseHex(Attr(c, "ctype").substr(5), cp)) {
        AppendUtf8(out, cp);
      } else if (Is(c, "g", ns_) || Is(c, "mrk", ns_) || Is(c, "pc", ns_) || Is(c, "sub", ns_)) {
        out += Text(c, depth + 1);
      }
    }
    return out;
  }

  void Units12(const xmlNode* parent, const std::string& file, std::vector<TUnit>& units, int depth = 0) {
    if (depth > 64) throw TXliffError("line " + std::to_string(xmlGetLineNo(parent)) + ": groups nested too deep");
    for (const xmlNode* c = parent->children; c; c = c->next) {
      if (Is(c, "group", ns_)) {
        Units12(c, file, units, depth + 1);
        continue;
      }
      if (!Is(c, "trans-unit", ns_)) continue;
      TUnit u;
      u.file = file;
      u.id = Attr(c, "id");
      u.line = static_cast<std::size_t>(xmlGetLineNo(c));
      for (const xmlNode* p = c->children; p; p = p->next) {
        if (Is(p, "source", ns_)) u.source = Text(p);
        if (Is(p, "target", ns_)) {
          u.hasTarget = true;
          u.target = Text(p);
          u.state = Attr(p, "state");
        }
      }
      units.push_back(std::move(u));
    }
  }

  void Units20(const xmlNode* parent, const std::string& file, std::vector<TUnit>& units, int depth = 0) {
    if (depth > 64) throw TXliffError("line " + std::to_string(xmlGetLineNo(parent)) + ": groups nested too deep");
    for (const xmlNode* c = parent->children; c; c = c->next) {
      if (Is(c, "group", ns_)) {
        Units20(c, file, units, depth + 1);
        continue;
      }
      if (!Is(c, "unit", ns_)) continue;
      TUnit u;
      u.file = file;
      u.id = Attr(c, "id");
      u.line = static_cast<std::size_t>(xmlGetLineNo(c));
      bool allTargets = true, anySegment = false;
      std::string state;
      for (const xmlNode* s = c->children; s; s = s->next) {
        const bool segment = Is(s, "segment", ns_);
        if (!segment && !Is(s, "ignorable", ns_)) continue;
        std::string source, target;
        bool hasTarget = false;
        for (const xmlNode* p = s->children; p; p = p->next) {
          if (Is(p, "source", ns_)) source = Text(p);
          if (Is(p, "target", ns_)) {
            hasTarget = true;
            target = Text(p);
          }
        }
        u.source += source;
        if (segment) {
          anySegment = true;
          allTargets = allTargets && hasTarget;
          const std::string st = HasAttr(s, "state") ? Attr(s, "state") : "initial";
          // The unit is as far as its least advanced segment.
          if (state.empty() || (st == "initial" && state != "initial")) state = st;
        }
        // An ignorable without a target stands for its source in the target.
        u.target += hasTarget || segment ? target : source;
      }
      u.hasTarget = anySegment && allTargets;
      u.state = state;
      if (!u.hasTarget) u.target.clear();
      units.push_back(std::move(u));
    }
  }

private:
  const char* ns_;
};

}  // namespace

namespace {

// libxml2 prints some errors (bad encodings) itself, past the parser's "no errors" option; they
// reach the user as our own message instead.
void Quiet(void*, const char*, ...) {}
void QuietStructured(void*, xmlErrorPtr) {}

}  // namespace

TDocument ReadXliff(std::string_view contents) {
  if (contents.size() > static_cast<std::size_t>(INT_MAX)) throw TXliffError("the file is too large");
  xmlSetGenericErrorFunc(nullptr, Quiet);
  xmlSetStructuredErrorFunc(nullptr, QuietStructured);
  std::unique_ptr<xmlParserCtxt, TCtxtFree> ctxt(xmlNewParserCtxt());
  if (!ctxt) throw TXliffError("out of memory");
  std::unique_ptr<xmlDoc, TDocFree> doc(xmlCtxtReadMemory(ctxt.get(), contents.data(), static_cast<int>(contents.size()),
                                                           nullptr, nullptr,
                                                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc) {
    const xmlError* e = xmlCtxtGetLastError(ctxt.get());
    std::string message = e && e->message ? e->message : "not well-formed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    throw TXliffError(e && e->line > 0 ? "line " + std::to_string(e->line) + ": " + message : message);
  }
  if (doc->intSubset || doc->extSubset) throw TXliffError("a document type declaration is not accepted");
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  TDocument d;
  const char* ns = nullptr;
  if (Is(root, "xliff", kNamespace12)) {
    d.version = TVersion::V12;
    ns = kNamespace12;
  } else if (Is(root, "xliff", kNamespace20)) {
    d.version = TVersion::V20;
    ns = kNamespace20;
    d.sourceLanguage = Attr(root, "srcLang");
    d.targetLanguage = Attr(root, "trgLang");
  } else {
    throw TXliffError("not an XLIFF 1.2 or 2.0 document");
  }
  TReader reader(ns);
  for (const xmlNode* f = root->children; f; f = f->next) {
    if (!Is(f, "file", ns)) continue;
    std::string original = Attr(f, "original");
    if (d.version == TVersion::V12) {
      if (d.sourceLanguage.empty()) d.sourceLanguage = Attr(f, "source-language");
      if (d.targetLanguage.empty()) d.targetLanguage = Attr(f, "target-language");
      for (const xmlNode* b = f->children; b; b = b->next)
        if (Is(b, "body", ns)) reader.Units12(b, original, d.units);
    } else {
      if (original.empty()) original = Attr(f, "id");
      reader.Units20(f, original, d.units);
    }
  }
  return d;
}

std::string Content(std::string_view utf8, TVersion version, int* placeholders) {
  std::string out;
  out.reserve(utf8.size() + 8);
  ForEachCodePoint(utf8, [&](std::uint32_t cp) {
    switch (cp) {
      case '<': out += "&lt;"; return;
      case '>': out += "&gt;"; return;
      case '&': out += "&amp;"; return;
      case '\r': out += "&#13;"; return;
      default: break;
    }
    if (!XmlCannotHold(cp)) {
      AppendUtf8(out, cp);
      return;
    }
    const int n = placeholders ? ++*placeholders : 1;
    if (version == TVersion::V20)
      out += "<cp hex=\"" + Hex4(cp) + "\"/>";
    else
      out += "<x id=\"cp" + std::to_string(n) + "\" ctype=\"x-cp-" + Hex4(cp) + "\"/>";
  });
  return out;
}

std::string Attribute(std::string_view utf8) {
  std::string out;
  ForEachCodePoint(utf8, [&](std::uint32_t cp) {
    switch (cp) {
      case '<': out += "&lt;"; return;
      case '>': out += "&gt;"; return;
      case '&': out += "&amp;"; return;
      case '"': out += "&quot;"; return;
      case '\t': out += "&#9;"; return;
      case '\n': out += "&#10;"; return;
      case '\r': out += "&#13;"; return;
      default: break;
    }
    AppendUtf8(out, XmlCannotHold(cp) ? 0xFFFD : cp);
  });
  return out;
}

std::string IdOf(std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.' || u == '-') {
      out += c;
    } else {
      out += '_';
      out += hex[u >> 4];
      out += hex[u & 15];
    }
  }
  if (out.empty()) out = "_";
  return out;
}

}  // namespace vorlect::vle::xliff
