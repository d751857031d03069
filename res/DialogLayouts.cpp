#include "res/DialogLayouts.h"

namespace quillet {

namespace {

using K = ControlKind;
namespace id = ControlId;

constexpr ControlSpec QrPageControls[] = {
    {id::FormatMobileV1, K::RadioButton, "中国移动v1.0", {7, 14, 65, 10}},
    {id::FormatMobileV2, K::RadioButton, "中国移动v2.0", {76, 14, 65, 10}},
    {id::FormatUnicom, K::RadioButton, "中国联通", {145, 14, 48, 10}},
    {id::FormatGeneral, K::RadioButton, "通用格式", {197, 14, 48, 10}},
    {id::ContentTabs, K::TabControl, "", {7, 31, 200, 290}},
    {NoControlId, K::Label, "纠错级别", {259, 15, 33, 8}},
    {id::EcLevel, K::DropDownList, "", {300, 12, 48, 162}},
    {NoControlId, K::Label, "QR版本设定", {356, 15, 41, 8}},
    {id::VersionList, K::DropDownList, "", {405, 12, 48, 224}},
    {id::VersionLabel, K::Label, "", {461, 15, 65, 8}},
    {id::Picture, K::GreyFrame, "", {225, 36, 285, 285}},
    {id::Zoom, K::VerticalSlider, "", {524, 30, 19, 289}},
    {NoControlId, K::Label, " * 号为必填项，为了保证生成的条码正确解析，请仔细填写！", {7, 325, 435, 12}},
    {id::Reset, K::PushButton, "重填", {73, 342, 34, 18}},
    {id::Eci, K::CheckBox, "添加字符集标识 (ECI)", {115, 346, 92, 10}},
    {id::Style, K::PushButton, "样式...", {408, 337, 40, 18}},
    {id::Save, K::PushButton, "保存二维码图片", {452, 337, 74, 18}},
};

constexpr ControlSpec DmPageControls[] = {
    {NoControlId, K::Label, "输入文本", {52, 67, 33, 8}},
    {id::DmText, K::MultiLineEdit, "", {48, 84, 111, 152}},
    {id::Reset, K::PushButton, "重填", {79, 244, 34, 18}},
    {id::Eci, K::CheckBox, "添加字符集标识 (ECI)", {48, 270, 111, 10}},
    {NoControlId, K::Label, "DM版本设定", {356, 15, 41, 8}},
    {id::VersionList, K::DropDownList, "", {405, 12, 48, 224}},
    {id::VersionLabel, K::Label, "", {461, 15, 65, 8}},
    {id::Picture, K::GreyFrame, "", {225, 36, 285, 285}},
    {id::Zoom, K::VerticalSlider, "", {524, 30, 19, 289}},
    {id::Style, K::PushButton, "样式...", {291, 333, 40, 18}},
    {id::Save, K::PushButton, "保存二维码图片", {335, 333, 74, 18}},
};

constexpr ControlSpec MainWindowControls[] = {
    {id::ContentTabs, K::TabControl, "", {0, 0, 553, 380}},
};

constexpr ControlSpec AboutBoxControls[] = {
    {id::AboutIcon, K::Icon, "", {8, 22, 21, 20}},
    {NoControlId, K::Label, "Quillet V3 版", {40, 17, 119, 8}},
    {NoControlId, K::Label, "二维码与 Data Matrix 码生成器", {40, 30, 119, 8}},
    {id::AboutOk, K::PushButton, "确定", {189, 10, 50, 14}},
};

}  // namespace

const DialogLayout QrPageLayout{"", 548, 367, QrPageControls};
const DialogLayout DmPageLayout{"", 548, 367, DmPageControls};
const DialogLayout MainWindowLayout{"Quillet", 553, 383, MainWindowControls};
const DialogLayout AboutBoxLayout{"关于Quillet", 252, 72, AboutBoxControls};

}  // namespace quillet
