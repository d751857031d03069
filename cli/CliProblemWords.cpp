// The command line's own words: why its words make no command that can run.
#include "cli/CliArgs.h"
#include "cli/CliOptionTable.h"
#include "cli/Translate.h"
#include "cli/Words.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "image/ImageFormats.h"

namespace quillet {

namespace {

std::string_view CommandName(CliCommand command) { return command == CliCommand::Qr ? "qr" : "dm"; }

// A problem of one option's words: a value it cannot take, one it lacks.
std::string DescribeOptionProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::ValueMissing: return Fill(_("{1} needs a value"), {p.option});
    case CliProblemKind::BadValue: return Fill(_("{1} takes {2}, not '{3}'"), {p.option, p.detail, p.word});
    case CliProblemKind::BlankCaption:
      return Fill(_("{1} needs text to draw on the frame's band, and '{2}' is empty or only blanks"), {p.option, p.word});
    case CliProblemKind::GivenTwice: return _("an input or output option is given twice");
    case CliProblemKind::BatchGivenTwice: return _("--batch is given twice");
    case CliProblemKind::FieldNotTagged: return Fill(_("{1} takes TAG=VALUE, not '{2}'"), {p.option, p.word});
    case CliProblemKind::NoLogoInDm:
      return Fill(_("{1}: Data Matrix symbols carry no logo; a logo goes in a QR Code (qr)"), {p.option});
    case CliProblemKind::ValueJoined:
      return Fill(_("unknown option '{1}': give the value as a word of its own, {2} {3}"), {p.word, p.option, p.detail});
    case CliProblemKind::OptionOfOther: {
      const CliCommand other = p.command == CliCommand::Qr ? CliCommand::Dm : CliCommand::Qr;
      return Fill(_("{1} is an option of {2}, not of {3}"), {p.option, CommandName(other), CommandName(p.command)});
    }
    case CliProblemKind::UnknownOption:
      if (p.detail.empty()) return Fill(_("unknown option '{1}'"), {p.word});
      return Fill(_("unknown option '{1}' (did you mean {2}?)"), {p.word, p.detail});
    default: return {};
  }
}

// What the input, the symbol's options and the output lack or have too much of.
std::string DescribeCombinationProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::TabNotOfFormat: {
      std::string text = Fill(_("--type {1} is not a tab of {2}; its tabs are {3}"),
                              {p.word, FindOperatorFormat(p.operatorFormat)->caption,
                               JoinNames(NumberedTabs(p.operatorFormat), ", ", ", ")});
      if (p.formatWithTab == 0) return text;
      return text + Fill(_("; {1} is a tab of {2}: give --operator {3}"),
                         {p.word, FindOperatorFormat(p.formatWithTab)->caption, std::to_string(p.formatWithTab)});
    }
    case CliProblemKind::EciWithDataFile:
      return _("--eci names the character set of a text: it goes with --text or --gbk-text, not --data-file");
    case CliProblemKind::EciNeedsAscii: return _("--eci takes the ascii scheme: give --scheme ascii or none");
    case CliProblemKind::NoInput:
      return p.command == CliCommand::Qr ? _("give --text, --gbk-text, --data-file or content fields (--field)")
                                         : _("give --text, --gbk-text or --data-file");
    case CliProblemKind::SeveralInputs: return _("give only one of --text, --gbk-text, --data-file and content fields");
    case CliProblemKind::GeneralTakesOptimal:
      return _("通用格式 always takes the optimal segments: --segments goes with --text or --data-file");
    case CliProblemKind::ContentIsOneSegment:
      return _("content fields are written in one segment, as the QR page writes them: "
               "--segments optimal goes with --text or --data-file");
    case CliProblemKind::NothingToDo: return _("nothing to do: give --dump, -o FILE or both");
    case CliProblemKind::VerifyNeedsFile: return _("--verify checks an image: give -o FILE");
    case CliProblemKind::FormatNeedsOutput: return _("--format needs -o: -o - for standard output");
    case CliProblemKind::StandardOutputTwice: return _("--dump and -o - both write to standard output; give one of them");
    case CliProblemKind::UnknownExtension:
      return Fill(_("cannot tell the image format of '{1}': use the extension {2}, or -o - with --format"),
                  {p.word, KnownExtensions(", ", " or ")});
    case CliProblemKind::FormatDisagrees:
      return Fill(_("--format {1} does not match the extension of '{2}'"), {p.detail, p.word});
    case CliProblemKind::VerifyOfText: return Fill(_("--verify checks an image file; {1} is text"), {p.word});
    case CliProblemKind::SeveralSizes: return Fill(_("give {1} or {2}, not both"), {p.option, p.detail});
    case CliProblemKind::LogoOptionsWithoutLogo: return _("--logo-size and --logo-pad go with --logo FILE");
    case CliProblemKind::GradientNeedsBoth: return _("--gradient and --fg2 go together: give both or neither");
    case CliProblemKind::FrameOptionsWithoutFrame: return _("--frame-position and --frame-fg go with --frame TEXT");
    case CliProblemKind::Colours: return DescribeStyleCheck(p.colours);
    default: return {};
  }
}

std::string DescribeBatchProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::BatchOnlyWithoutBatch: return Fill(_("{1} goes with --batch INPUT"), {p.option});
    case CliProblemKind::BatchWithInput:
      return _("--batch takes the symbols' data from its rows: no --text, --gbk-text, --data-file or --field");
    case CliProblemKind::SegmentsWithBatch: return _("--segments goes with --text or --data-file, not --batch");
    case CliProblemKind::BatchWithDump:
      return _("--batch writes files: no --dump or --format (the name's extension is the format)");
    case CliProblemKind::BatchNeedsFolder: return _("--batch needs -o DIR, the folder for the files");
    case CliProblemKind::SheetOptionsWithoutSheet: return _("--columns, --rows and --caption go with --sheet");
    case CliProblemKind::SheetNeedsGrid: return _("--sheet needs --columns C and --rows R");
    case CliProblemKind::SheetWithName: return _("--sheet writes one PDF: no --name");
    case CliProblemKind::SheetNeedsPdf: return _("--sheet writes a PDF: give -o FILE.pdf");
    default: return {};
  }
}

}  // namespace

std::string DescribeCliProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::NoCommand: return _("no command given");
    case CliProblemKind::UnknownCommand: return Fill(_("unknown command '{1}' (use qr, dm or read)"), {p.word});
    case CliProblemKind::ValuesUsage: return _("values takes qr or dm and an option: values qr --level");
    case CliProblemKind::NoFixedValues: return Fill(_("{1} of {2} takes no fixed set of values"), {p.option, p.word});
    default: break;
  }
  for (auto describe : {DescribeOptionProblem, DescribeCombinationProblem, DescribeBatchProblem})
    if (std::string words = describe(p); !words.empty()) return words;
  return _("the options cannot be used together");
}

}  // namespace quillet
