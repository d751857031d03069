#include "app/pages/ContentPages.h"

#include <algorithm>

namespace quillet {

namespace {

// Each page is the catalogue row that carries its own class name.
const PageSpec& SpecOf(std::string_view className) { return *FindPage(className); }

template <typename Page>
CDialogTypeBase* Create(QWidget* parent, const DialogUnits& units) {
  return new Page(parent, units);
}

struct PageFactory {
  std::string_view className;
  CDialogTypeBase* (*create)(QWidget*, const DialogUnits&);
};

template <typename Page>
PageFactory FactoryOf() {
  return {PageClassName(Page::staticMetaObject), Create<Page>};
}

const PageFactory Factories[] = {
    FactoryOf<CDialogTypeCard>(),  FactoryOf<CDialogTypeIVR>(),     FactoryOf<CDialogTypeIVRV10>(),
    FactoryOf<CDialogTypeMail>(),  FactoryOf<CDialogTypePhone>(),   FactoryOf<CDialogTypeSelfSet>(),
    FactoryOf<CDialogTypeSMS>(),   FactoryOf<CDialogTypeSMST>(),    FactoryOf<CDialogTypeSMSV10>(),
    FactoryOf<CDialogTypeTxt>(),   FactoryOf<CDialogTypeUrl>(),     FactoryOf<CDialogTypeWap>(),
    FactoryOf<CDialogTypeWapV10>(),
    FactoryOf<CDialogTypeVCard>(), FactoryOf<CDialogTypeWifi>(),    FactoryOf<CDialogTypeLink>(),
    FactoryOf<CDialogTypeDial>(),  FactoryOf<CDialogTypeMessage>(), FactoryOf<CDialogTypeMailto>(),
    FactoryOf<CDialogTypePlace>(), FactoryOf<CDialogTypeEvent>(),   FactoryOf<CDialogTypePlainText>(),
};

}  // namespace

std::string_view PageClassName(const QMetaObject& meta) {
  const std::string_view name = meta.className();
  return name.substr(name.rfind(':') + 1);
}

CDialogTypeBase* CreateContentPage(std::string_view className, QWidget* parent, const DialogUnits& units) {
  const auto it = std::find_if(std::begin(Factories), std::end(Factories),
                               [&](const PageFactory& f) { return f.className == className; });
  return it == std::end(Factories) ? nullptr : it->create(parent, units);
}

CDialogTypeCard::CDialogTypeCard(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeIVR::CDialogTypeIVR(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeIVRV10::CDialogTypeIVRV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeMail::CDialogTypeMail(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypePhone::CDialogTypePhone(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeSelfSet::CDialogTypeSelfSet(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeSMS::CDialogTypeSMS(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeSMST::CDialogTypeSMST(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeSMSV10::CDialogTypeSMSV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeTxt::CDialogTypeTxt(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeUrl::CDialogTypeUrl(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeWap::CDialogTypeWap(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeWapV10::CDialogTypeWapV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeVCard::CDialogTypeVCard(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeWifi::CDialogTypeWifi(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeLink::CDialogTypeLink(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeDial::CDialogTypeDial(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeMessage::CDialogTypeMessage(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeMailto::CDialogTypeMailto(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypePlace::CDialogTypePlace(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypeEvent::CDialogTypeEvent(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

CDialogTypePlainText::CDialogTypePlainText(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(PageClassName(staticMetaObject)), parent, units) {}

}  // namespace quillet
