#include "vle/PasParser.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace vorlect::vle;

namespace {

TEditPascalFile AddVorlect(std::string formClass = "TForm1") {
  return {"", "VLBase, VLCore", std::move(formClass), "Vorlect1: TVorlect;"};
}

std::string Edit(const std::string& unit, const TEditPascalFile& e = AddVorlect()) {
  return EditPascalText(unit, e).Text;
}

const char* const kUnit =
    "unit Unit1;\n"
    "\n"
    "interface\n"
    "\n"
    "uses\n"
    "  Windows, Forms, Dialogs;\n"
    "\n"
    "type\n"
    "  TForm1 = class(TForm)\n"
    "    Button1: TButton;\n"
    "  end;\n"
    "\n"
    "implementation\n"
    "\n"
    "uses Unit2;\n"
    "\n"
    "end.\n";

const char* const kUnitEdited =
    "unit Unit1;\n"
    "\n"
    "interface\n"
    "\n"
    "uses\n"
    "  VLBase, VLCore,\n"
    "  Windows, Forms, Dialogs;\n"
    "\n"
    "type\n"
    "  TForm1 = class(TForm)\n"
    "    Vorlect1: TVorlect;\n"
    "    Button1: TButton;\n"
    "  end;\n"
    "\n"
    "implementation\n"
    "\n"
    "uses Unit2;\n"
    "\n"
    "end.\n";

std::string Crlf(std::string s) {
  std::string r;
  for (char c : s) r += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return r;
}

}  // namespace

TEST(PasParser, InterfaceUsesAndFormClassWithBothLineEnds) {
  EXPECT_EQ(Edit(kUnit), kUnitEdited);
  EXPECT_EQ(EditPascalText(kUnit, AddVorlect()).Status, TEditPascalStatus::Edited);
  EXPECT_EQ(Edit(Crlf(kUnit)), Crlf(kUnitEdited));
  // Class names are matched ignoring case; the last line keeps its missing line end.
  EXPECT_EQ(Edit("uses Forms;\r\ntype TForm1 = class(TForm)\r\nend.", AddVorlect("tform1")),
            "uses \r\n  VLBase, VLCore, Forms;\r\ntype TForm1 = class(TForm)\r\n"
            "    Vorlect1: TVorlect;\r\nend.");
}

TEST(PasParser, UsesOfAProgramWithPathsAndFormComments) {
  TEditPascalFile e{"", "VLBase, VLCore", "", ""};
  EXPECT_EQ(Edit("program P;\r\n\r\nuses\r\n  Forms,\r\n  Unit1 in 'Unit1.pas' {Form1};\r\n",
                 e),
            "program P;\r\n\r\nuses\r\n  VLBase, VLCore,\r\n  Forms,\r\n"
            "  Unit1 in 'Unit1.pas' {Form1};\r\n");
}

TEST(PasParser, CommentsAndStringsHideWords) {
  const std::string unit =
      "unit U; { uses in a brace comment; TForm1 = class(TForm) }\n"
      "(* uses\n  TForm1 = class(TForm) *)\n"
      "// uses TForm1 = class(TForm)\n"
      "const S = 'uses { (* //'; T = 'TForm1 = class(TForm)';\n"
      "var MyUses, UsesX: Integer;\n"
      "uses{$IFDEF X} A{$ENDIF};\n"
      "type TForm1 = class(TForm) // the main form\n"
      "  end;\n";
  EXPECT_EQ(Edit(unit),
            "unit U; { uses in a brace comment; TForm1 = class(TForm) }\n"
            "(* uses\n  TForm1 = class(TForm) *)\n"
            "// uses TForm1 = class(TForm)\n"
            "const S = 'uses { (* //'; T = 'TForm1 = class(TForm)';\n"
            "var MyUses, UsesX: Integer;\n"
            "uses\n  VLBase, VLCore, {$IFDEF X} A{$ENDIF};\n"
            "type TForm1 = class(TForm) \n    Vorlect1: TVorlect;// the main form\n"
            "  end;\n");
  // "(*)" opens a comment without closing it.
  EXPECT_EQ(EditPascalText("(*) uses A; *) unit U;", AddVorlect()).Status,
            TEditPascalStatus::NoUsesClause);
}

TEST(PasParser, UnitsAndFieldAlreadyPresent) {
  // Only the missing unit is added; dotted and differently cased names count.
  EXPECT_EQ(Edit("uses\n  Forms, vlbase;\ntype TForm1 = class(TForm)\n  end;\n"),
            "uses\n  VLCore,\n  Forms, vlbase;\ntype TForm1 = class(TForm)\n"
            "    Vorlect1: TVorlect;\n  end;\n");
  TEditPascalFile dotted{"", "Vcl.Forms, VLCore", "", ""};
  EXPECT_EQ(EditPascalText("uses Vcl . Forms, VLCore;", dotted).Status,
            TEditPascalStatus::Unchanged);
  // A second run changes nothing; a parameter of the same name is no field.
  const std::string once = Edit(kUnit);
  const TEditPascalText twice = EditPascalText(once, AddVorlect());
  EXPECT_EQ(twice.Status, TEditPascalStatus::Unchanged);
  EXPECT_EQ(twice.Text, once);
  EXPECT_EQ(Edit("uses VLBase, VLCore;\ntype TForm1 = class(TForm)\n"
                 "    procedure P(Vorlect1: TVorlect);\n  end;\n"),
            "uses VLBase, VLCore;\ntype TForm1 = class(TForm)\n    Vorlect1: TVorlect;\n"
            "    procedure P(Vorlect1: TVorlect);\n  end;\n");
}

TEST(PasParser, MissingPlacesLeaveTheUnitUntouched) {
  const std::string noUses = "unit U;\ninterface\ntype TForm1 = class(TForm)\n end;\nend.\n";
  TEditPascalText r = EditPascalText(noUses, AddVorlect());
  EXPECT_EQ(r.Status, TEditPascalStatus::NoUsesClause);
  EXPECT_EQ(r.Text, noUses);

  const std::string noClass = "unit U;\ninterface\nuses Forms;\ntype TForm2 = class(TForm)\n"
                              " end;\nend.\nuses TForm1 = class(TForm)\n";
  r = EditPascalText(noClass, AddVorlect());
  EXPECT_EQ(r.Status, TEditPascalStatus::NoFormClass);  // nothing after "end." counts
  EXPECT_EQ(r.Text, noClass);

  // Empty parts skip their step.
  EXPECT_EQ(EditPascalText(noUses, {"", "", "TForm1", "Vorlect1: TVorlect;"}).Status,
            TEditPascalStatus::Edited);
  EXPECT_EQ(EditPascalText(noClass, {"", "VLBase", "TForm1", ""}).Status,
            TEditPascalStatus::Edited);
  EXPECT_EQ(EditPascalText("", {"", "", "", ""}).Status, TEditPascalStatus::Unchanged);
  EXPECT_EQ(EditPascalText("x := 'uses\n{ uses", AddVorlect()).Status,
            TEditPascalStatus::NoUsesClause);
}

TEST(PasParser, FileIsReplacedOnlyWhenEdited) {
  const fs::path dir = fs::temp_directory_path() / ("pasparser_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string unit = (dir / "Unit1.pas").string();
  auto write = [&](const std::string& text) { std::ofstream(unit, std::ios::binary) << text; };

  write(Crlf(kUnit));
  TEditPascalFile e = AddVorlect();
  e.FileName = unit;
  TEditPascalResult r = EditPascalFile(e);
  EXPECT_EQ(r.Status, TEditPascalStatus::Edited);
  EXPECT_EQ(vorlect::platform::ReadFile(unit), Crlf(kUnitEdited));

  write("unit U;\r\n");
  r = EditPascalFile(e);
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(vorlect::platform::ReadFile(unit), "unit U;\r\n");
  EXPECT_NE(EditPascalMessage(r).find(unit), std::string::npos);
  EXPECT_NE(EditPascalMessage(r).find("VLBase, VLCore"), std::string::npos);

  e.FileName = (dir / "Missing.pas").string();
  r = EditPascalFile(e);
  EXPECT_EQ(r.Status, TEditPascalStatus::IOError);
  EXPECT_NE(EditPascalMessage(r).find("Missing.pas"), std::string::npos);
  EXPECT_FALSE(fs::exists(e.FileName));

  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

// Real units: exactly two new lines, everything else byte for byte.
TEST(PasParser, CorpusUnitsGetExactlyTwoLines) {
  const fs::path projects = fs::path(VORLECT_CORPUS_DIR) / "projects";
  if (!fs::is_directory(projects)) GTEST_SKIP() << "corpus not found at " << projects;
  int edited = 0;
  for (const auto& entry : fs::recursive_directory_iterator(projects)) {
    if (entry.path().extension() != ".pas") continue;
    const std::string unit = vorlect::platform::ReadFile(entry.path().string());
    // The class declared right before " = class(TForm)".
    const size_t decl = unit.find(" = class(TForm)");
    if (decl == std::string::npos) continue;
    const size_t name = unit.find_last_of(" \t\r\n", decl - 1) + 1;
    SCOPED_TRACE(entry.path().string());
    const TEditPascalText r = EditPascalText(unit, AddVorlect(unit.substr(name, decl - name)));
    ASSERT_EQ(r.Status, TEditPascalStatus::Edited);
    EXPECT_EQ(std::count(r.Text.begin(), r.Text.end(), '\n'),
              std::count(unit.begin(), unit.end(), '\n') + 2);
    EXPECT_NE(r.Text.find("    Vorlect1: TVorlect;"), std::string::npos);
    // Dropping the two inserted lines gives the original back.
    const bool crlf = unit.find("\r\n") != std::string::npos;
    std::string back = r.Text;
    for (const char* ins : {"  VLBase, VLCore,", "    Vorlect1: TVorlect;"}) {
      const std::string line = std::string(crlf ? "\r\n" : "\n") + ins;
      const size_t at = back.find(line);
      ASSERT_NE(at, std::string::npos) << ins;
      back.erase(at, line.size());
    }
    EXPECT_EQ(back, unit);
    ++edited;
  }
  EXPECT_GT(edited, 0);
}
