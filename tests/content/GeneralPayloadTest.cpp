// The general format's forms byte for byte, with the RFCs' own examples
// where they have them, and the values no form can carry.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "content/GeneralPayload.h"

using namespace quillet;

namespace {

enum Tab { Card, Wifi, Link, Dial, Message, Mail, Place, Event, Text };

struct GeneralCase {
  std::string name;
  int tab;
  std::vector<std::pair<std::string_view, std::string>> fields;  // tag, UTF-8 value
  std::string payload;
  FieldFailure failure = FieldFailure::None;
  std::string_view field = {};
};

const GeneralCase Forms[] = {
    {"CardOfTheIssue", Card, {{"N", "张三"}, {"M", "13800138000"}, {"COR", "中国移动"}},
     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nTEL;TYPE=CELL:13800138000\r\nORG:中国移动\r\nEND:VCARD\r\n"},
    // RFC 2426 3.5.5 and 3.6.2: ORG's escaped comma and its unit; NOTE's line break.
    {"CardEscapes",
     Card,
     {{"N", "王\\五"}, {"COR", "ABC, Inc."}, {"DIV", "North American Division"}, {"TIL", "a;b"},
      {"NOTE", "This fax number is operational 0800 to 1715\r\nEST, Mon-Fri."}},
     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:王\\\\五;;;;\r\nFN:王\\\\五\r\nORG:ABC\\, Inc.;North American Division\r\n"
     "TITLE:a\\;b\r\nNOTE:This fax number is operational 0800 to 1715\\nEST\\, Mon-Fri.\r\nEND:VCARD\r\n"},
    {"CardEveryField",
     Card,
     {{"N", "李四"}, {"M", "1"}, {"TEL", "2"}, {"FAX", "3"}, {"EM", "a@b.cn"}, {"DIV", "部"}, {"TIL", "经理"},
      {"ADR", "北京市"}, {"ZIP", "100033"}, {"URL", "https://b.cn/"}, {"NOTE", "x"}},
     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:李四;;;;\r\nFN:李四\r\nTEL;TYPE=CELL:1\r\nTEL;TYPE=WORK,VOICE:2\r\n"
     "TEL;TYPE=WORK,FAX:3\r\nEMAIL;TYPE=INTERNET:a@b.cn\r\nORG:;部\r\nTITLE:经理\r\nADR;TYPE=WORK:;;北京市;;;100033;\r\n"
     "URL:https://b.cn/\r\nNOTE:x\r\nEND:VCARD\r\n"},
    // The cut password and the trailing backslash of the peers' reports.
    {"WifiEscapes", Wifi, {{"SSID", "My \"Net\":1,2"}, {"PWD", "pa;ss\\"}, {"HIDDEN", "true"}},
     "WIFI:T:WPA;S:My \\\"Net\\\"\\:1\\,2;P:pa\\;ss\\\\;H:true;;"},
    {"WifiOpen", Wifi, {{"SSID", "咖啡馆"}, {"HIDDEN", "false"}}, "WIFI:T:nopass;S:咖啡馆;;"},
    {"WifiWep", Wifi, {{"SSID", "x"}, {"PWD", "k"}, {"ENC", "wep"}}, "WIFI:T:WEP;S:x;P:k;;"},
    {"LinkPath", Link, {{"URL", "example.cn/路径?q=a b"}}, "https://example.cn/%E8%B7%AF%E5%BE%84?q=a%20b"},
    {"LinkIdna", Link, {{"URL", "http://user@例子.中国:8080/x%41%"}}, "http://user@xn--fsqu00a.xn--fiqs8s:8080/x%41%25"},
    {"LinkHostAndPort", Link, {{"URL", " example.cn:8080 "}}, "https://example.cn:8080"},
    {"LinkOtherScheme", Link, {{"URL", "mailto:a@b.cn"}}, "mailto:a@b.cn"},
    {"Dial", Dial, {{"TEL", "+86 138 0013 8000"}}, "tel:+8613800138000"},
    {"DialHash", Dial, {{"TEL", "*100#"}}, "tel:*100%23"},
    {"Message", Message, {{"SM", "10086"}, {"TXT", "余额:查询;谢谢"}}, "SMSTO:10086:余额:查询;谢谢"},
    // RFC 6068 section 6.1 and 6.2.
    {"MailRfcBody", Mail, {{"TO", "infobot@example.com"}, {"TXT", "send current-issue\nsend index"}},
     "mailto:infobot@example.com?body=send%20current-issue%0D%0Asend%20index"},
    {"MailRfcSubject", Mail, {{"TO", "user@example.org"}, {"SUB", "café"}}, "mailto:user@example.org?subject=caf%C3%A9"},
    {"MailTwoRecipientsNoBody", Mail, {{"TO", "a@b.cn, c@d.cn"}, {"SUB", "你好&再见"}},
     "mailto:a@b.cn,c@d.cn?subject=%E4%BD%A0%E5%A5%BD%26%E5%86%8D%E8%A7%81"},
    // RFC 5870 section 1.
    {"PlaceRfc", Place, {{"LAT", "13.4125"}, {"LON", "103.8667"}}, "geo:13.4125,103.8667"},
    {"PlaceNamed", Place, {{"LAT", "+39.9042"}, {"LON", "-116.4074"}, {"LABEL", "天安门 广场"}},
     "geo:39.9042,-116.4074?q=%E5%A4%A9%E5%AE%89%E9%97%A8%20%E5%B9%BF%E5%9C%BA"},
    // RFC 5545 section 3.3.11's DESCRIPTION.
    {"EventRfcDescription",
     Event,
     {{"SUB", "评审, 第一轮"}, {"START", "2024-02-29 09:30"}, {"END", "2024-02-29 11:00"}, {"LOC", "3B;东楼"},
      {"TXT", "Project XYZ Final Review\r\nConference Room - 3B\r\nCome Prepared."}},
     "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillet//Quillet//ZH\r\nBEGIN:VEVENT\r\nSUMMARY:评审\\, 第一轮\r\n"
     "DTSTART:20240229T093000\r\nDTEND:20240229T110000\r\nLOCATION:3B\\;东楼\r\n"
     "DESCRIPTION:Project XYZ Final Review\\nConference Room - 3B\\nCome Prepared.\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"},
    {"Text", Text, {{"TEXT", "原样;\r\n:保留"}}, "原样;\r\n:保留"},
    // A drop-down or check box alone is no content.
    {"OnlyChoicesIsEmpty", Wifi, {{"ENC", "WPA"}, {"HIDDEN", "true"}}, ""},
    {"OtherPagesFieldsIgnored", Dial, {{"N", "张三"}}, ""},
    // Values no form can carry: nothing composed, the field and why named.
    {"CardWithoutName", Card, {{"M", "1"}}, "", FieldFailure::Missing, "N"},
    {"NetworkWithoutName", Wifi, {{"PWD", "x"}}, "", FieldFailure::Missing, "SSID"},
    {"SecuredWithoutPassword", Wifi, {{"SSID", "x"}, {"ENC", "WEP"}}, "", FieldFailure::Missing, "PWD"},
    {"PasswordOfAnOpenNetwork", Wifi, {{"SSID", "x"}, {"PWD", "y"}, {"ENC", "nopass"}}, "", FieldFailure::PasswordUnused, "PWD"},
    {"UnknownSecurity", Wifi, {{"SSID", "x"}, {"ENC", "WPA2"}}, "", FieldFailure::NotAChoice, "ENC"},
    {"HiddenNeitherTrueNorFalse", Wifi, {{"SSID", "x"}, {"HIDDEN", "yes"}}, "", FieldFailure::NotAChoice, "HIDDEN"},
    {"HostWithoutIdnaForm", Link, {{"URL", "http://☃.中国/"}}, "", FieldFailure::NoIdnaForm, "URL"},
    {"NumberOfWords", Dial, {{"TEL", "一二三"}}, "", FieldFailure::NotAPhoneNumber, "TEL"},
    {"RecipientWithoutAt", Mail, {{"TO", "a@b.cn,sales"}}, "", FieldFailure::NotAMailAddress, "TO"},
    {"LatitudeOutOfRange", Place, {{"LAT", "90.5"}, {"LON", "0"}}, "", FieldFailure::OutOfRange, "LAT"},
    {"LongitudeOutOfRange", Place, {{"LAT", "0"}, {"LON", "-180.01"}}, "", FieldFailure::OutOfRange, "LON"},
    {"LongitudeWithExponent", Place, {{"LAT", "1"}, {"LON", "1e2"}}, "", FieldFailure::NotANumber, "LON"},
    {"NoSuchDay", Event, {{"START", "2025-02-29 10:00"}}, "", FieldFailure::NotADateTime, "START"},
    {"EventWithoutStart", Event, {{"SUB", "x"}}, "", FieldFailure::Missing, "START"},
    {"EndBeforeStart", Event, {{"START", "2025-03-01 10:00"}, {"END", "2025-03-01 09:59"}},
     "", FieldFailure::EndsBeforeStart, "END"},
    {"NotUtf8", Text, {{"TEXT", "\xB0\xA1"}}, "", FieldFailure::NotUtf8, "TEXT"},
};

class GeneralForm : public testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralForm, ComposesTheStandardFormOrNamesTheField) {
  const GeneralCase& c = GetParam();
  FieldValueArray values;
  for (const auto& [tag, text] : c.fields) values.at(FieldSlotOfTag(tag)) = text;
  FieldProblem problem;
  EXPECT_EQ(ComposeGeneralPayload(values, c.tab, &problem), c.payload);
  EXPECT_EQ(problem.failure, c.failure);
  EXPECT_EQ(problem.slot, c.field.empty() ? -1 : FieldSlotOfTag(c.field));
}

INSTANTIATE_TEST_SUITE_P(General, GeneralForm, testing::ValuesIn(Forms), [](const auto& info) { return info.param.name; });

}  // namespace
