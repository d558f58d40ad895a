#include "host/framework/controls/TreeListData.h"

#include <stdexcept>

namespace vorlect::host {

namespace {

class ByteReader {
public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Offset() const { return pos_; }
  std::size_t Left() const { return bytes_.size() - pos_; }

  bool Int32(std::int32_t& v) {
    if (Left() < 4) return false;
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= std::uint32_t(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    v = static_cast<std::int32_t>(u);
    return true;
  }
  bool Byte(std::uint8_t& v) {
    if (Left() < 1) return false;
    v = static_cast<unsigned char>(bytes_[pos_++]);
    return true;
  }
  bool Ansi(std::size_t n, std::string& s) {
    if (Left() < n) return false;
    s.assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
  }
  bool Wide(std::size_t n, std::u16string& s) {
    if (Left() / 2 < n) return false;
    s.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      s[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes_[pos_ + 2 * i]) |
                                   (static_cast<unsigned char>(bytes_[pos_ + 2 * i + 1]) << 8));
    pos_ += 2 * n;
    return true;
  }
  // A short string: length byte, then that many 8-bit chars or UTF-16 units.
  bool ShortAnsi(std::string& s) {
    std::uint8_t n;
    return Byte(n) && Ansi(n, s);
  }
  bool ShortWide(std::u16string& s) {
    std::uint8_t n;
    return Byte(n) && Wide(n, s);
  }

private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

class ByteWriter {
public:
  void Int32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  void Byte(std::uint8_t v) { out.push_back(static_cast<char>(v)); }
  void ShortAnsi(const std::string& s) {
    Byte(static_cast<std::uint8_t>(CheckLength(s.size())));
    out += s;
  }
  void ShortWide(const std::u16string& s) {
    Byte(static_cast<std::uint8_t>(CheckLength(s.size())));
    for (char16_t c : s) {
      out.push_back(static_cast<char>(c & 0xFF));
      out.push_back(static_cast<char>(c >> 8));
    }
  }
  // The format has one length byte; cutting the text would lose data silently.
  static std::size_t CheckLength(std::size_t n) {
    if (n > 255) throw std::length_error("a text of " + std::to_string(n) + " characters does not fit (at most 255)");
    return n;
  }
  std::string out;
};

std::string At(std::size_t offset, const std::string& message) {
  return "offset " + std::to_string(offset) + ": " + message;
}

// Bytes of a node record after its size field, without the text.
std::size_t NodeFixedSize(int version) {
  switch (version) {
    case 0: return 24 + 1;
    case 1: return 24 + 1;
    case 2: return 28 + 1;
    default: return 28 + 1 + 1;
  }
}

bool DecodeNodes(ByteReader& r, int version, std::int32_t count, int depth,
                 std::vector<TreeNodeRecord>& out, std::string& error) {
  if (depth > kMaxTreeDepth) {
    error = At(r.Offset(), "nodes nested deeper than " + std::to_string(kMaxTreeDepth));
    return false;
  }
  // Every node takes at least a size field and its fixed part: a larger count is damage.
  std::size_t minimum = 4 + NodeFixedSize(version);
  if (count < 0 || static_cast<std::size_t>(count) > r.Left() / minimum) {
    error = At(r.Offset(), "node count " + std::to_string(count) + " exceeds the data");
    return false;
  }
  out.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::size_t start = r.Offset();
    std::int32_t size = 0;
    if (!r.Int32(size)) {
      error = At(start, "node record cut short");
      return false;
    }
    TreeNodeRecord n;
    std::int32_t children = 0;
    bool ok = r.Int32(n.imageIndex) && r.Int32(n.selectedIndex) && r.Int32(n.stateIndex) &&
              r.Int32(n.overlayIndex);
    if (ok && version >= 2) ok = r.Int32(n.expandedImageIndex);
    ok = ok && r.Int32(n.data) && r.Int32(children);
    if (ok && version >= 3) {
      std::uint8_t enabled = 0;
      ok = r.Byte(enabled);
      n.enabled = enabled != 0;
      if (ok && enabled > 1) {
        error = At(r.Offset() - 1, "node Enabled byte " + std::to_string(enabled));
        return false;
      }
    }
    ok = ok && (version == 0 ? r.ShortAnsi(n.ansiText) : r.ShortWide(n.wideText));
    if (!ok) {
      error = At(start, "node record cut short");
      return false;
    }
    std::size_t textBytes = version == 0 ? n.ansiText.size() : 2 * n.wideText.size();
    if (static_cast<std::int64_t>(size) != static_cast<std::int64_t>(NodeFixedSize(version) + textBytes)) {
      error = At(start, "node record size " + std::to_string(size) + " does not match its text");
      return false;
    }
    if (!DecodeNodes(r, version, children, depth + 1, n.children, error)) return false;
    out.push_back(std::move(n));
  }
  return true;
}

void EncodeNodes(ByteWriter& w, int version, const std::vector<TreeNodeRecord>& nodes) {
  for (const TreeNodeRecord& n : nodes) {
    std::size_t textBytes = version == 0 ? ByteWriter::CheckLength(n.ansiText.size())
                                         : 2 * ByteWriter::CheckLength(n.wideText.size());
    w.Int32(static_cast<std::int32_t>(NodeFixedSize(version) + textBytes));
    w.Int32(n.imageIndex);
    w.Int32(n.selectedIndex);
    w.Int32(n.stateIndex);
    w.Int32(n.overlayIndex);
    if (version >= 2) w.Int32(n.expandedImageIndex);
    w.Int32(n.data);
    w.Int32(static_cast<std::int32_t>(n.children.size()));
    if (version >= 3) w.Byte(n.enabled ? 1 : 0);
    if (version == 0) w.ShortAnsi(n.ansiText);
    else w.ShortWide(n.wideText);
    EncodeNodes(w, version, n.children);
  }
}

}  // namespace

bool DecodeTreeData(std::string_view bytes, bool nodeData, TreeData& out, std::string& error) {
  ByteReader r(bytes);
  TreeData result;
  if (nodeData) {
    std::uint8_t version = 0;
    if (!r.Byte(version) || version < 1 || version > 3) {
      error = At(0, bytes.empty() ? std::string("no data") : "unknown node data version " + std::to_string(version));
      return false;
    }
    result.version = version;
  }
  std::int32_t count = 0;
  if (!r.Int32(count)) {
    error = At(r.Offset(), "node count cut short");
    return false;
  }
  if (!DecodeNodes(r, result.version, count, 0, result.nodes, error)) return false;
  if (r.Left() != 0) {
    error = At(r.Offset(), std::to_string(r.Left()) + " bytes after the last node");
    return false;
  }
  out = std::move(result);
  return true;
}

std::string EncodeTreeData(const TreeData& data) {
  ByteWriter w;
  if (data.version != 0) w.Byte(static_cast<std::uint8_t>(data.version));
  w.Int32(static_cast<std::int32_t>(data.nodes.size()));
  EncodeNodes(w, data.version, data.nodes);
  return std::move(w.out);
}

namespace {

// The size the header would hold by this code's count: the 8-bit layout counts every byte;
// the Unicode one counts each item as 26 bytes plus its texts (as the files show).
std::int64_t ComputedListSize(const ListData& d) {
  std::int64_t size = 0;
  if (d.version == 0) {
    size = 8;
    for (const ListItemRecord& it : d.items) {
      size += 20 + 1 + static_cast<std::int64_t>(it.ansiCaption.size());
      for (const std::string& s : it.ansiSubItems) size += 1 + static_cast<std::int64_t>(s.size());
      if (d.subItemImages) size += 4 * static_cast<std::int64_t>(it.ansiSubItems.size());
    }
    return size;
  }
  for (const ListItemRecord& it : d.items) {
    size += 26 + 2 * static_cast<std::int64_t>(it.wideCaption.size());
    for (const std::u16string& s : it.wideSubItems) size += 2 + 2 * static_cast<std::int64_t>(s.size());
    if (d.subItemImages) size += 4 * static_cast<std::int64_t>(it.wideSubItems.size());
  }
  return size;
}

}  // namespace

bool DecodeListData(std::string_view bytes, bool itemData, ListData& out, std::string& error) {
  ByteReader r(bytes);
  ListData result;
  if (itemData) {
    std::uint8_t version = 0;
    if (!r.Byte(version) || version == 0) {
      error = At(0, "no item data version");
      return false;
    }
    result.version = version;
  }
  std::int32_t size = 0, count = 0;
  if (!r.Int32(size) || !r.Int32(count)) {
    error = At(r.Offset(), "item header cut short");
    return false;
  }
  std::size_t minimum = itemData ? 25 : 21;
  if (count < 0 || static_cast<std::size_t>(count) > r.Left() / minimum) {
    error = At(r.Offset() - 4, "item count " + std::to_string(count) + " exceeds the data");
    return false;
  }
  std::size_t subItemTotal = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::size_t start = r.Offset();
    ListItemRecord it;
    std::int32_t subCount = 0;
    bool ok = r.Int32(it.imageIndex) && r.Int32(it.stateIndex) && r.Int32(it.overlayIndex) &&
              r.Int32(subCount);
    if (ok && itemData) ok = r.Int32(it.groupId);
    ok = ok && r.Int32(it.data) && (itemData ? r.ShortWide(it.wideCaption) : r.ShortAnsi(it.ansiCaption));
    if (!ok) {
      error = At(start, "item record cut short");
      return false;
    }
    if (subCount < 0 || static_cast<std::size_t>(subCount) > r.Left()) {
      error = At(start, "sub-item count " + std::to_string(subCount) + " exceeds the data");
      return false;
    }
    for (std::int32_t j = 0; j < subCount; ++j) {
      bool got = false;
      if (itemData) {
        std::u16string s;
        got = r.ShortWide(s);
        it.wideSubItems.push_back(std::move(s));
      } else {
        std::string s;
        got = r.ShortAnsi(s);
        it.ansiSubItems.push_back(std::move(s));
      }
      if (!got) {
        error = At(r.Offset(), "sub-item cut short");
        return false;
      }
    }
    subItemTotal += static_cast<std::size_t>(subCount);
    result.items.push_back(std::move(it));
  }
  // What follows the items: nothing, or one image index per sub-item.
  if (r.Left() != 0) {
    if (subItemTotal == 0 || r.Left() != 4 * subItemTotal) {
      error = At(r.Offset(), std::to_string(r.Left()) + " bytes after the last item");
      return false;
    }
    result.subItemImages = true;
    for (ListItemRecord& it : result.items) {
      std::size_t n = itemData ? it.wideSubItems.size() : it.ansiSubItems.size();
      it.subItemImages.resize(n);
      for (std::size_t j = 0; j < n; ++j) r.Int32(it.subItemImages[j]);
    }
  }
  result.sizeAdjust = static_cast<std::int64_t>(size) - ComputedListSize(result);
  out = std::move(result);
  return true;
}

std::string EncodeListData(const ListData& data) {
  ByteWriter w;
  bool itemData = data.version != 0;
  if (itemData) w.Byte(static_cast<std::uint8_t>(data.version));
  w.Int32(static_cast<std::int32_t>(ComputedListSize(data) + data.sizeAdjust));
  w.Int32(static_cast<std::int32_t>(data.items.size()));
  for (const ListItemRecord& it : data.items) {
    w.Int32(it.imageIndex);
    w.Int32(it.stateIndex);
    w.Int32(it.overlayIndex);
    w.Int32(static_cast<std::int32_t>(itemData ? it.wideSubItems.size() : it.ansiSubItems.size()));
    if (itemData) w.Int32(it.groupId);
    w.Int32(it.data);
    if (itemData) {
      w.ShortWide(it.wideCaption);
      for (const std::u16string& s : it.wideSubItems) w.ShortWide(s);
    } else {
      w.ShortAnsi(it.ansiCaption);
      for (const std::string& s : it.ansiSubItems) w.ShortAnsi(s);
    }
  }
  if (data.subItemImages)
    for (const ListItemRecord& it : data.items) {
      std::size_t n = itemData ? it.wideSubItems.size() : it.ansiSubItems.size();
      for (std::size_t j = 0; j < n; ++j)
        w.Int32(j < it.subItemImages.size() ? it.subItemImages[j] : -1);
    }
  return std::move(w.out);
}

}  // namespace vorlect::host
