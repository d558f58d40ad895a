// vorlect convert IN OUT --to text|binary: converts one form file between its binary and text forms.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormFile.h"

#include <memory>

namespace vorlect::cli {

namespace {

struct ConvertOptions {
  std::string input, output, to, style = "ansi", lineEnds = "crlf";
  bool header = false, noHeader = false, bom = false;
};

int RunConvert(const ConvertOptions& o) {
  const std::string data = ReadFormInput(o.input);
  if (o.to == "binary" && formfile::DetectFormat(data) == formfile::FileFormat::Text) {
    // Straight through, without the tree: a text form gets the header unless told otherwise.
    WriteOutput(o.output, formfile::TextToBinary(data, DisplayName(o.input), !o.noHeader));
    return 0;
  }
  formfile::FileFormat format = formfile::FileFormat::Unknown;
  const formfile::Object root = formfile::ReadForm(data, DisplayName(o.input), &format);

  if (o.to == "binary") {
    bool header = format != formfile::FileFormat::Binary;  // keep the input's choice; text gets one
    if (o.header) header = true;
    if (o.noHeader) header = false;
    WriteOutput(o.output, formfile::WriteBinary(root, header));
    return 0;
  }
  formfile::TextOptions text;
  text.style = o.style == "unicode" ? formfile::StringStyle::Unicode : formfile::StringStyle::Ansi8Bit;
  text.lineEnd = o.lineEnds == "lf" ? formfile::LineEnd::LF : formfile::LineEnd::CRLF;
  text.byteOrderMark = o.bom;
  std::string written;
  try {
    written = formfile::WriteText(root, text);
  } catch (const formfile::FormFileError& e) {
    // A value the notation cannot carry: named with the form it is in.
    throw formfile::FormFileError(DisplayName(o.input), e.where(), e.detail());
  }
  WriteOutput(o.output, written);
  return 0;
}

}  // namespace

void AddConvertCommand(CLI::App& app, Action& action) {
  auto opts = std::make_shared<ConvertOptions>();
  CLI::App* cmd = app.add_subcommand(
      "convert", "Convert a form file between its binary form and its text notation");
  cmd->add_option("IN", opts->input, "Form file to read (binary or text; - for standard input)")->required();
  cmd->add_option("OUT", opts->output, "File to write (- for standard output)")->required();
  cmd->add_option("--to", opts->to, "Output format")->required()->check(CLI::IsMember({"text", "binary"}));
  auto* with = cmd->add_flag("--resource-header", opts->header,
                             "Binary output: write the 16-bit resource header");
  auto* without = cmd->add_flag("--no-resource-header", opts->noHeader,
                                "Binary output: write the bare stream (TPF0...)");
  with->excludes(without);
  cmd->add_option("--style", opts->style,
                  "Text output: 'ansi' writes 8-bit bytes raw in quotes (default), 'unicode' writes #nnn code points")
      ->check(CLI::IsMember({"ansi", "unicode"}));
  cmd->add_option("--line-ends", opts->lineEnds, "Text output: crlf (default) or lf")
      ->check(CLI::IsMember({"crlf", "lf"}));
  cmd->add_flag("--bom", opts->bom, "Text output: start with a UTF-8 byte-order mark");
  cmd->footer(
      "Binary output keeps the input's resource header choice unless told otherwise; text input gets the header.\n"
      "Exit status: 0 success, 1 failure (message on standard error), 2 usage error.");
  cmd->callback([opts, &action] { action = [opts] { return RunConvert(*opts); }; });
}

}  // namespace vorlect::cli
