#include "content/pages/ContentPages.h"

#include <algorithm>

namespace {

const PageSpec& SpecOf(std::string_view className) { return *FindPage(className); }

template <typename Page>
CDialogTypeBase* Create(QWidget* parent, const DialogUnits& units) {
  return new Page(parent, units);
}

struct PageFactory {
  std::string_view className;
  CDialogTypeBase* (*create)(QWidget*, const DialogUnits&);
};

constexpr PageFactory Factories[] = {
    {"CDialogTypeCard", Create<CDialogTypeCard>},
    {"CDialogTypeIVR", Create<CDialogTypeIVR>},
    {"CDialogTypeIVRV10", Create<CDialogTypeIVRV10>},
    {"CDialogTypeMail", Create<CDialogTypeMail>},
    {"CDialogTypePhone", Create<CDialogTypePhone>},
    {"CDialogTypeSelfSet", Create<CDialogTypeSelfSet>},
    {"CDialogTypeSMS", Create<CDialogTypeSMS>},
    {"CDialogTypeSMST", Create<CDialogTypeSMST>},
    {"CDialogTypeSMSV10", Create<CDialogTypeSMSV10>},
    {"CDialogTypeTxt", Create<CDialogTypeTxt>},
    {"CDialogTypeUrl", Create<CDialogTypeUrl>},
    {"CDialogTypeWap", Create<CDialogTypeWap>},
    {"CDialogTypeWapV10", Create<CDialogTypeWapV10>},
};

}  // namespace

CDialogTypeBase* CreateContentPage(std::string_view className, QWidget* parent, const DialogUnits& units) {
  const auto it = std::find_if(std::begin(Factories), std::end(Factories),
                               [&](const PageFactory& f) { return f.className == className; });
  return it == std::end(Factories) ? nullptr : it->create(parent, units);
}

CDialogTypeCard::CDialogTypeCard(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeCard"), parent, units) {}

CDialogTypeIVR::CDialogTypeIVR(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeIVR"), parent, units) {}

CDialogTypeIVRV10::CDialogTypeIVRV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeIVRV10"), parent, units) {}

CDialogTypeMail::CDialogTypeMail(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeMail"), parent, units) {}

CDialogTypePhone::CDialogTypePhone(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypePhone"), parent, units) {}

CDialogTypeSelfSet::CDialogTypeSelfSet(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeSelfSet"), parent, units) {}

CDialogTypeSMS::CDialogTypeSMS(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeSMS"), parent, units) {}

CDialogTypeSMST::CDialogTypeSMST(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeSMST"), parent, units) {}

CDialogTypeSMSV10::CDialogTypeSMSV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeSMSV10"), parent, units) {}

CDialogTypeTxt::CDialogTypeTxt(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeTxt"), parent, units) {}

CDialogTypeUrl::CDialogTypeUrl(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeUrl"), parent, units) {}

CDialogTypeWap::CDialogTypeWap(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeWap"), parent, units) {}

CDialogTypeWapV10::CDialogTypeWapV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf("CDialogTypeWapV10"), parent, units) {}
