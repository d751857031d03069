// The dialog templates of the application as data: every control with its
// id, kind, caption and rectangle in dialog units. Pages build themselves
// from these tables; nothing about placement lives in code.
#pragma once

#include <span>
#include <string_view>

#include "content/Catalogue.h"

namespace quillet {

enum class ControlKind {
  Label,            // static text, left-aligned
  RadioButton,      // auto radio button; the first of a run starts the group
  TabControl,       // content-type tabs with their pages
  DropDownList,     // combo box; the height is the dropped list's
  GreyFrame,        // the picture area
  VerticalSlider,   // zoom, position 1 at the top
  PushButton,
  MultiLineEdit,    // Enter inserts a line break
  Icon,             // the application icon, 32 x 32 pixels
  CheckBox,         // auto check box, its caption on the right
};

// Controls without an id of their own (labels) use NoControlId.
constexpr int NoControlId = -1;

struct ControlSpec {
  int id;
  ControlKind kind;
  std::string_view caption;  // UTF-8
  DialogRect rect;
};

struct DialogLayout {
  std::string_view caption;  // window title, empty for child pages
  int width, height;         // dialog units
  std::span<const ControlSpec> controls;  // creation order is tab order
};

// Control ids shared by the two symbol pages.
namespace ControlId {
constexpr int ContentTabs = 1000;
constexpr int Picture = 1001;
constexpr int Zoom = 1002;
constexpr int EcLevel = 1003;
constexpr int Save = 1004;
constexpr int Reset = 1005;
constexpr int VersionList = 1006;
constexpr int VersionLabel = 1007;
constexpr int FormatGeneral = 1008;
constexpr int FormatMobileV1 = 1009;
constexpr int FormatMobileV2 = 1010;
constexpr int FormatUnicom = 1011;
constexpr int DmText = 1013;
constexpr int Eci = 1034;
constexpr int Style = 1050;
constexpr int AboutOk = 1;
constexpr int AboutIcon = 128;
}  // namespace ControlId

extern const DialogLayout QrPageLayout;     // template 102
extern const DialogLayout DmPageLayout;     // template 155
extern const DialogLayout MainWindowLayout; // template 156
extern const DialogLayout AboutBoxLayout;   // template 100

// Every content page is a 190 x 260 child dialog.
constexpr int ContentPageWidth = 190;
constexpr int ContentPageHeight = 260;

}  // namespace quillet
