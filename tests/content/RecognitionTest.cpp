// Decoded bytes back to format, tab and fields: worked examples of what
// each kind of payload becomes, and of what the fields cannot hold.
#include <gtest/gtest.h>

#include "content/CodePage.h"
#include "content/Recognition.h"

using namespace quillet;

namespace {

struct RecogniseCase {
  std::string name;
  std::string bytes;
  int preferred;
  PayloadKind kind;
  int format, tab;
  std::vector<std::pair<std::string_view, std::string>> fields;  // tag, UTF-8 text
  UnheldReason unheld;
  std::string subject;
};

const std::string Op("\x01\x10", 2);

const RecogniseCase Cases[] = {
    {"CardStaysInThePreferredFormat", Op + "CARD:N:\xd5\xc5\xc8\xfd;M:138;;", 2, PayloadKind::Operator, 2, 0,
     {{"N", "张三"}, {"M", "138"}}, UnheldReason::None, ""},
    {"SharedTypeTagGoesToThePageWithEveryTag", Op + "AD:SUB:News;DG:DY;SID:1234;;", 1, PayloadKind::Operator, 1, 7,
     {{"SUB", "News"}, {"DG", "DY"}, {"SID", "1234"}}, UnheldReason::None, ""},
    {"WapServiceOnlyUnderV2OrUnicom", Op + "WAD:COD:12;URL:http://a.b/;;", 1, PayloadKind::Operator, 2, 4,
     {{"COD", "12"}, {"URL", "http://a.b/"}}, UnheldReason::None, ""},
    {"UnknownTagIsSaidAndTheRestShown", Op + "CARD:N:Li;XYZ:1;;", 1, PayloadKind::Operator, 1, 0, {{"N", "Li"}},
     UnheldReason::UnknownTag, "XYZ"},
    {"TagOfAnotherPage", Op + "MAIL:TO:a;IVR:9;;", 1, PayloadKind::Operator, 1, 1, {{"TO", "a"}},
     UnheldReason::TagNotOnPage, "IVR"},
    {"RepeatedTag", Op + "SMS:SM:1;SM:2;;", 1, PayloadKind::Operator, 1, 2, {{"SM", "1"}}, UnheldReason::RepeatedTag,
     "SM"},
    {"CutShort", Op + "CARD:N:Li", 1, PayloadKind::Operator, 1, 0, {}, UnheldReason::Malformed, ""},
    {"MecardWithEscapesAndTwoPhones", "MECARD:N:Wang\\, Wu;TEL:138;TEL:010;EMAIL:w@x.cn;ADR:a\\;b\\:c;NOTE:hi;;", 1,
     PayloadKind::Mecard, 4, 0,
     {{"N", "Wang, Wu"}, {"M", "138"}, {"TEL", "010"}, {"EM", "w@x.cn"}, {"ADR", "a;b:c"}, {"NOTE", "hi"}},
     UnheldReason::None, ""},
    {"MecardBirthdayHasNoField", "MECARD:N:\xe5\xbc\xa0;BDAY:19700101;;", 3, PayloadKind::Mecard, 4, 0, {{"N", "张"}},
     UnheldReason::UnknownTag, "BDAY"},
    {"ForeignVCard", "BEGIN:VCARD\nVERSION:2.1\nN:Zhang;San\nFN:Zhang San\nTEL;HOME:010\nTEL;CELL:138\n"
     "ADR:;;1 Road\\, 2;Beijing;;100000;China\nURL:https://a.cn/p\\,q\\;r\nNOTE:a\\nb\nBDAY:1970-01-01\nEND:VCARD\n", 1,
     PayloadKind::General, 4, 0,
     {{"N", "Zhang San"}, {"TEL", "010"}, {"M", "138"}, {"ADR", "1 Road, 2 Beijing China"}, {"ZIP", "100000"},
      {"URL", "https://a.cn/p,q;r"}, {"NOTE", "a\r\nb"}}, UnheldReason::UnknownTag, "BDAY"},
    {"WifiWithEscapes", "WIFI:T:wep;S:a\\;b\\:c;P:p\\\\w;H:true;;", 1, PayloadKind::General, 4, 1,
     {{"ENC", "WEP"}, {"SSID", "a;b:c"}, {"PWD", "p\\w"}, {"HIDDEN", "true"}}, UnheldReason::None, ""},
    {"WifiEnterprise", "WIFI:T:WPA2-EAP;S:x;;", 1, PayloadKind::General, 4, 1, {{"SSID", "x"}}, UnheldReason::NotAChoice,
     "WPA2-EAP"},
    {"WebAddressDecodedWhereNotAscii", "https://example.com/%E4%BD%A0?q=a%20b", 1, PayloadKind::General, 4, 2,
     {{"URL", "https://example.com/你?q=a%20b"}}, UnheldReason::None, ""},
    // The host as people read it, written back by the link tab to the very same bytes.
    {"WebAddressHostInItsScript", "http://user@xn--fsqu00a.xn--fiqs8s:8080/%E8%B7%AF", 1, PayloadKind::General, 4, 2,
     {{"URL", "http://user@例子.中国:8080/路"}}, UnheldReason::None, ""},
    // Kept as they are: capitals that the way back would lower, and a label that is no punycode.
    {"WebAddressHostInCapitals", "http://XN--FSQU00A.cn/", 1, PayloadKind::General, 4, 2,
     {{"URL", "http://XN--FSQU00A.cn/"}}, UnheldReason::None, ""},
    {"WebAddressHostNoPunycode", "http://xn--ab-.cn/", 1, PayloadKind::General, 4, 2, {{"URL", "http://xn--ab-.cn/"}},
     UnheldReason::None, ""},
    {"MailWithCopy", "mailto:a@b.cn?subject=%E4%BD%A0&body=1%0D%0A2&cc=c@d.cn", 1, PayloadKind::General, 4, 5,
     {{"TO", "a@b.cn"}, {"SUB", "你"}, {"TXT", "1\r\n2"}}, UnheldReason::UnknownTag, "cc"},
    {"EventInUtc", "BEGIN:VEVENT\r\nSUMMARY:a\\, b\r\nDTSTART:20260101T090000Z\r\nEND:VEVENT\r\n", 1,
     PayloadKind::General, 4, 7, {{"SUB", "a, b"}}, UnheldReason::NotAChoice, "20260101T090000Z"},
    {"CodePageTextIntoTheTextTab", "\xc4\xe3\xba\xc3", 1, PayloadKind::Text, 1, 3, {{"TXT", "你好"}},
     UnheldReason::None, ""},
    {"UnknownTypeIsText", Op + "XYZ:A:1;;", 1, PayloadKind::Text, 4, 8, {{"TEXT", "\x01\x10XYZ:A:1;;"}},
     UnheldReason::None, ""},
    {"BinaryFitsNoText", "\xff\xfe\x80", 1, PayloadKind::Text, 1, 3, {}, UnheldReason::NotCodePage, ""},
};

class Recognise : public testing::TestWithParam<RecogniseCase> {};

TEST_P(Recognise, GivesFormatTabFieldsAndWhatIsNotHeld) {
  const RecogniseCase& c = GetParam();
  const Recognised got = RecognisePayload(c.bytes, c.preferred);
  EXPECT_EQ(got.kind, c.kind);
  EXPECT_EQ(got.page, (FormatTab{c.format, c.tab}));
  FieldValueArray expected;  // UTF-8 whatever the format
  for (const auto& [tag, text] : c.fields) expected.at(FieldSlotOfTag(tag)) = text;
  EXPECT_EQ(got.values, expected);
  EXPECT_EQ(got.unheld.reason, c.unheld);
  EXPECT_EQ(got.unheld.subject, c.subject);
}

INSTANTIATE_TEST_SUITE_P(Payloads, Recognise, testing::ValuesIn(Cases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
