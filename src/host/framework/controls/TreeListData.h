// The binary layouts in which tree views store their nodes (`Items.Data`, `Items.NodeData`) and
// list views their items (`Items.Data`, `Items.ItemData`).
//
// Texts stay as the blob holds them (8-bit bytes or UTF-16 units); the controls convert them.
// Decoding checks every length against the bytes left and every record size against its
// content, so that encoding a decoded blob gives the same bytes back; anything else is refused
// with a message naming the offset.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::host {

// Layouts: Ansi is the 8-bit era's `Data`; NodeData versions 1..3 add, in turn, nothing,
// ExpandedImageIndex, and an Enabled byte.
struct TreeNodeRecord {
  std::int32_t imageIndex = -1, selectedIndex = -1, stateIndex = -1, overlayIndex = -1;
  std::int32_t expandedImageIndex = -1;
  std::int32_t data = 0;
  bool enabled = true;
  std::string ansiText;        // Ansi layout
  std::u16string wideText;     // NodeData layouts
  std::vector<TreeNodeRecord> children;
};

struct TreeData {
  int version = 0;  // 0: 8-bit `Data`; 1..3: `NodeData`
  std::vector<TreeNodeRecord> nodes;
};

// Deepest node nesting accepted (deeper data is refused, not recursed into).
inline constexpr int kMaxTreeDepth = 512;

// False with a message ("offset N: ...") when the bytes do not form the layout.
bool DecodeTreeData(std::string_view bytes, bool nodeData, TreeData& out, std::string& error);
// Throws std::length_error when a text does not fit its length byte (255 units).
std::string EncodeTreeData(const TreeData& data);

struct ListItemRecord {
  std::int32_t imageIndex = -1, stateIndex = -1, overlayIndex = -1;
  std::int32_t groupId = -1;   // ItemData only
  std::int32_t data = 0;
  std::string ansiCaption;                 // Data
  std::u16string wideCaption;              // ItemData
  std::vector<std::string> ansiSubItems;
  std::vector<std::u16string> wideSubItems;
  std::vector<std::int32_t> subItemImages;  // when the blob holds them (one per sub-item)
};

struct ListData {
  int version = 0;             // 0: 8-bit `Data`; else the ItemData version byte
  bool subItemImages = false;  // the blob ends with the sub-items' image indexes
  // The header's size minus the size this code computes: writers differ in what they count,
  // and keeping the difference writes an unchanged list back as it was.
  std::int64_t sizeAdjust = 0;
  std::vector<ListItemRecord> items;
};

bool DecodeListData(std::string_view bytes, bool itemData, ListData& out, std::string& error);
std::string EncodeListData(const ListData& data);

}  // namespace vorlect::host
