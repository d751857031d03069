#include "app/pages/ContentPages.h"

#include <algorithm>

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
  return {Page::staticMetaObject.className(), Create<Page>};
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

CDialogTypeBase* CreateContentPage(std::string_view className, QWidget* parent, const DialogUnits& units) {
  const auto it = std::find_if(std::begin(Factories), std::end(Factories),
                               [&](const PageFactory& f) { return f.className == className; });
  return it == std::end(Factories) ? nullptr : it->create(parent, units);
}

CDialogTypeCard::CDialogTypeCard(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeIVR::CDialogTypeIVR(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeIVRV10::CDialogTypeIVRV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeMail::CDialogTypeMail(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypePhone::CDialogTypePhone(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeSelfSet::CDialogTypeSelfSet(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeSMS::CDialogTypeSMS(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeSMST::CDialogTypeSMST(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeSMSV10::CDialogTypeSMSV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeTxt::CDialogTypeTxt(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeUrl::CDialogTypeUrl(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeWap::CDialogTypeWap(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeWapV10::CDialogTypeWapV10(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeVCard::CDialogTypeVCard(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeWifi::CDialogTypeWifi(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeLink::CDialogTypeLink(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeDial::CDialogTypeDial(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeMessage::CDialogTypeMessage(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeMailto::CDialogTypeMailto(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypePlace::CDialogTypePlace(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypeEvent::CDialogTypeEvent(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}

CDialogTypePlainText::CDialogTypePlainText(QWidget* parent, const DialogUnits& units)
    : CDialogTypeBase(SpecOf(staticMetaObject.className()), parent, units) {}
