// The content pages: the operator formats' thirteen and the general
// format's nine. Each is its catalogue row and nothing more;
// the classes exist so that each page carries its own class name.
#pragma once

#include <memory>
#include <string_view>

#include "app/pages/DialogTypeBase.h"

namespace quillet {

// The page of a catalogue class name, or null for an unknown name.
CDialogTypeBase* CreateContentPage(std::string_view className, QWidget* parent, const DialogUnits& units);

// A page class's name as the catalogue spells it: without its namespace.
std::string_view PageClassName(const QMetaObject& meta);

class CDialogTypeCard : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeCard(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeIVR : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeIVR(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeIVRV10 : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeIVRV10(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeMail : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeMail(QWidget* parent, const DialogUnits& units);
};

class CDialogTypePhone : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypePhone(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeSelfSet : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeSelfSet(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeSMS : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeSMS(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeSMST : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeSMST(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeSMSV10 : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeSMSV10(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeTxt : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeTxt(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeUrl : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeUrl(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeWap : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeWap(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeWapV10 : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeWapV10(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeVCard : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeVCard(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeWifi : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeWifi(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeLink : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeLink(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeDial : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeDial(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeMessage : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeMessage(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeMailto : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeMailto(QWidget* parent, const DialogUnits& units);
};

class CDialogTypePlace : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypePlace(QWidget* parent, const DialogUnits& units);
};

class CDialogTypeEvent : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypeEvent(QWidget* parent, const DialogUnits& units);
};

class CDialogTypePlainText : public CDialogTypeBase {
  Q_OBJECT
 public:
  CDialogTypePlainText(QWidget* parent, const DialogUnits& units);
};

}  // namespace quillet
