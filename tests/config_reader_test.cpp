// Our INI reader against the platform's GetPrivateProfileStringA, on the same
// files: files our writer makes, hand-edited and damaged files, generated files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "persist/config_file.h"
#include "persist/ini_text.h"
#include "tests/bench_env.h"

namespace {

std::string platform_read(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& fallback) {
  std::vector<char> buffer(kIniReadBuffer, '\0');
  GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                           static_cast<DWORD>(buffer.size()), path.c_str());
  return std::string(buffer.data());
}

std::string shown(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size() && i < 80; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char hex[8];
    if (c < 0x20 || c >= 0x7F || c == '\\') {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  if (text.size() > 80) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out;
}

struct Query {
  const char* section;
  const char* key;
  const char* fallback;
};

// Every read the program makes, for the first tasks, plus a few spellings.
std::vector<Query> program_queries() {
  static const char* const sections[] = {"1", "2", "3"};
  std::vector<Query> queries = {{"Sweepwarden", "num", "0"}, {"Sweepwarden", "point", "0"}};
  for (const char* section : sections) {
    queries.push_back({section, "file", ""});
    queries.push_back({section, "mode", "3"});
    queries.push_back({section, "del_mode", "2"});
    queries.push_back({section, "time", "3600"});
    queries.push_back({section, "remark", ""});
  }
  queries.push_back({"SWEEPWARDEN", "NUM", "0"});
  queries.push_back({"1", "x", "dflt "});
  return queries;
}

// Compares both readers on one file; returns the number of differences.
int compare_on(const std::string& path, const std::string& name, const std::vector<Query>& queries) {
  IniDocument ours = ini_load(path);
  int differences = 0;
  for (const Query& query : queries) {
    std::string expected = platform_read(path, query.section, query.key, query.fallback);
    std::string got = ini_read(ours, query.section, query.key, query.fallback);
    if (got != expected) {
      ++differences;
      ADD_FAILURE() << name << ": [" << query.section << "] " << query.key << ": platform \"" << shown(expected)
                    << "\", ours \"" << shown(got) << "\"\n  file: " << shown(read_file(path));
    }
  }
  return differences;
}

class ReaderAgreement : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = make_scratch_dir("reader"); }
  // A file of its own per case: the platform caches what it read.
  std::string file_with(const std::string& bytes) {
    std::string path = dir_ + "\\case-" + std::to_string(++serial_) + ".ini";
    EXPECT_TRUE(write_file(path, bytes));
    return path;
  }
  std::string dir_;
  int serial_ = 0;
};

const std::string kGbk = "\xD6\xD0\xCE\xC4";  // 中文
const std::string kIdeographicSpace = "\xA1\xA1";

struct HandCase {
  const char* name;
  std::string bytes;
};

std::vector<HandCase> hand_cases() {
  std::string big_ascii(10300, 'a');
  std::string big_gbk;
  for (int i = 0; i < 5200; ++i) big_gbk += kGbk.substr(0, 2);
  std::vector<HandCase> cases = {
      {"empty file", ""},
      {"plain", "[Sweepwarden]\r\nnum=2\r\npoint=5\r\n[1]\r\nfile=C:\\a\r\nmode=1\r\n"},
      {"blanks around names", "  [Sweepwarden]  \r\n  num  =  7  \r\n\t point\t=\t8\t\r\n"},
      {"blanks inside brackets", "[ Sweepwarden ]\r\nnum=1\r\n[1 ]\r\nfile=x\r\n[ 2]\r\nfile=y\r\n"},
      {"control bytes as blanks",
       "[1]\r\nfile=\x0B\x0C v \x1A\r\nmode=\x1C\x1D" "2\x1E\x1F\r\ntime=\x01" "5\r\nremark=\x7F r\x7F\r\n"},
      {"ideographic space", "[1]\r\nfile=" + kIdeographicSpace + "p" + kIdeographicSpace + "\r\n" + kIdeographicSpace +
                                "mode=1\r\n"},
      {"double quotes", "[1]\r\nfile=\"C:\\a b\"\r\nremark=\" x \"\r\ntime=\"12\"\r\n"},
      {"single quotes", "[1]\r\nfile='C:\\a'\r\nremark='x\r\nmode=\"1'\r\n"},
      {"lone quote", "[1]\r\nfile=\"\r\nremark='\r\n"},
      {"quotes only", "[1]\r\nfile=\"\"\r\nremark=''\r\n"},
      {"nested quotes", "[1]\r\nfile=\"\"a\"\"\r\nremark=\"'\"\r\n"},
      {"comments", "[1]\r\n;file=no\r\n#mode=1\r\nfile=yes\r\n; [2]\r\n[2]\r\nfile=two ; not a comment\r\n"},
      {"commented section", ";[1]\r\nfile=a\r\n[1]\r\nfile=b\r\n"},
      {"line without equals", "[1]\r\nfile\r\nmode=1\r\nremark\r\nremark=late\r\n"},
      {"duplicate keys", "[1]\r\nfile=first\r\nFILE=second\r\nfile=third\r\n"},
      {"duplicate sections", "[1]\r\nfile=a\r\n[2]\r\nfile=b\r\n[1]\r\nfile=c\r\nmode=1\r\n"},
      {"bracket without close", "[1\r\nfile=a\r\n[1]\r\nfile=b\r\n[2\r\nmode=1\r\n"},
      {"text after close", "[1]junk\r\nfile=a\r\n[2] ]\r\nfile=b\r\n[3]]\r\nfile=c\r\n"},
      {"equals in names and values", "[1]\r\nfile==a=b\r\nmode = = 1\r\n=remark\r\n[2=]\r\nfile=x\r\n"},
      {"cases of names", "[sweepWARDEN]\r\nNuM=3\r\n[1]\r\nFile=a\r\nDEL_MODE=1\r\n"},
      {"CR only", "[Sweepwarden]\rnum=4\r[1]\rfile=cr\rremark=x\r"},
      {"LF only", "[Sweepwarden]\nnum=4\n[1]\nfile=lf\n\n\nremark=y\n"},
      {"mixed and doubled ends", "[1]\r\r\nfile=a\n\rmode=2\r\n\r\ntime=9"},
      {"no final line end", "[1]\r\nfile=last"},
      {"empty values", "[1]\r\nfile=\r\nmode=\r\ndel_mode=   \r\ntime=\t\r\n"},
      {"value of blanks then next line", "[1]\r\nfile=  \r\nmode=1\r\n"},
      {"keys before any section", "file=a\r\nnum=3\r\n[Sweepwarden]\r\npoint=1\r\n"},
      {"empty section name", "[]\r\nfile=a\r\n[1]\r\nfile=b\r\n"},
      {"NUL in value", std::string("[1]\r\nfile=ab\0cd\r\nmode=1\r\n", 24)},
      {"NUL in section name", std::string("[1\0x]\r\nfile=a\r\n", 16)},
      {"NUL in key name", std::string("[1]\r\nfile\0x=a\r\nfile=b\r\n", 22)},
      {"NUL line", std::string("[1]\r\n\0\r\nfile=a\r\n", 16)},
      {"GBK text", "[1]\r\nfile=C:\\" + kGbk + "\\" + kGbk + "\r\nremark= " + kGbk + " \r\n"},
      {"GBK trail byte is a bracket", "[1]\r\nfile=\x81]\r\n[2\x81]\r\nfile=b\r\n[3]\r\nfile=\x81]x]\r\n"},
      {"lone lead byte at line end", "[1]\r\nfile=a\x81\r\nmode=1\r\n"},
      {"lead byte before LF", "[1]\nfile=a\xB0\nmode=1\n"},
      {"invalid pairs", "[1]\r\nfile=\x81\x20z\r\nremark=\xFF\x80\xA0\r\n"},
      {"lead byte at end of file", "[1]\r\nfile=a\xB0"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF[1]\r\nfile=\xE4\xB8\xAD\xE6\x96\x87\r\nmode=1\r\n"},
      {"UTF-16 byte-order mark", std::string("\xFF\xFE[\0" "1\0]\0\r\0\n\0f\0i\0l\0e\0=\0x\0", 26)},
      {"long ASCII value", "[1]\r\nfile=" + big_ascii + "\r\nremark=" + big_ascii.substr(0, 10239) +
                               "\r\nmode=" + big_ascii.substr(0, 10240) + "\r\n"},
      {"long GBK value", "[1]\r\nfile=" + big_gbk + "\r\nremark=a" + big_gbk + "\r\n"},
      {"long quoted values", "[1]\r\nfile=\"" + big_ascii.substr(0, 10238) + "\"\r\nremark=\"" +
                                 big_ascii.substr(0, 10239) + "\"\r\nmode=\"" + big_ascii.substr(0, 10240) +
                                 "\"\r\ntime=\"" + big_ascii.substr(0, 10237) + "\"\r\n"},
      {"long GBK quoted", "[1]\r\nfile=\"" + big_gbk.substr(0, 10238) + "\"\r\n"},
      {"numbers odd", "[Sweepwarden]\r\nnum=-3\r\npoint=\xA3\xB1\xA3\xB2\r\n[1]\r\ntime=90s\r\n"},
  };
  return cases;
}

TEST_F(ReaderAgreement, HandEditedAndDamagedFiles) {
  std::vector<Query> queries = program_queries();
  for (const HandCase& c : hand_cases()) compare_on(file_with(c.bytes), c.name, queries);
}

TEST_F(ReaderAgreement, MissingFile) {
  std::vector<Query> queries = program_queries();
  compare_on(dir_ + "\\no-such.ini", "missing file", queries);
  IniDocument missing = ini_load(dir_ + "\\no-such.ini");
  EXPECT_EQ(ini_read(missing, "1", "time", "3600"), "3600");
}

// Every byte as a blank candidate around names and values, one file per byte.
TEST_F(ReaderAgreement, EveryByteAroundNamesAndValues) {
  std::vector<Query> queries = {{"1", "file", ""}, {"1", "mode", "3"}, {"2", "file", ""}};
  for (int b = 1; b < 0x81; ++b) {
    std::string c(1, static_cast<char>(b));
    if (b == '\r' || b == '\n') continue;
    std::string bytes = "[1]\r\n" + c + "file" + c + "=" + c + "v" + c + "\r\nmode=" + c + "\r\n[" + c + "2" + c +
                        "]\r\nfile=" + c + c + "\r\n";
    char name[32];
    std::snprintf(name, sizeof name, "byte 0x%02X", b);
    compare_on(file_with(bytes), name, queries);
  }
}

// Values the program writes come back the same through both readers.
TEST_F(ReaderAgreement, FilesOurWriterMakes) {
  std::string big(10000, 'x');
  const std::vector<std::string> values = {
      "", " ", "  lead", "trail  ", "\"quoted\"", "'single'", "\"", "'", "\"open", "close\"", "a=b", ";semi",
      "[bracket]", "#hash", kGbk, " " + kGbk + " ", kIdeographicSpace + "x" + kIdeographicSpace, "\t tab \t",
      "\x1A" "eof", "\"\"", "\" \"", "' x '", big, " " + big + " ", "\"" + big + "\"", "C:\\a\\b\\", "x\x1F"};
  std::string text;
  ini_write_section(text, "Sweepwarden");
  ini_write(text, "num", std::to_string(values.size()));
  ini_write(text, "point", "0");
  for (size_t i = 0; i < values.size(); ++i) {
    ini_write_section(text, std::to_string(i + 1));
    ini_write(text, "file", values[i]);
    ini_write(text, "remark", values[i]);
  }
  std::string path = file_with(text);
  IniDocument ours = ini_load(path);
  for (size_t i = 0; i < values.size(); ++i) {
    std::string section = std::to_string(i + 1);
    EXPECT_EQ(platform_read(path, section, "file", ""), values[i]) << shown(values[i]);
    EXPECT_EQ(ini_read(ours, section, "remark"), values[i]) << shown(values[i]);
  }
}

// Random files built from the fragments that trip readers up.
TEST_F(ReaderAgreement, GeneratedFiles) {
  const char* const headers[] = {"[1]", "[2]", "[3]", "[Sweepwarden]", "[ 1]", "[1", "[sweepwarden]", "[2]x", "[]",
                                 ";[3]", "\t[3]\t"};
  const char* const names[] = {"file", "mode", "del_mode", "time", "remark", "num", "point", "FILE", " Time",
                               "remark\t", ";file", "x", "", "del mode"};
  const std::string pieces[] = {"", " ", "\t", "\"", "'", "a", "7", kGbk, kIdeographicSpace, ";", "[", "]", "=",
                                "\x1A", "\x0B", "C:\\p q", "\xA3\xB3"};
  const char* const ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\n"};
  std::mt19937 random(20261211);
  std::vector<Query> queries = program_queries();
  for (int file = 0; file < 250; ++file) {
    std::string bytes;
    int lines = 1 + static_cast<int>(random() % 24);
    for (int line = 0; line < lines; ++line) {
      if (random() % 5 == 0) {
        bytes += headers[random() % (sizeof headers / sizeof headers[0])];
      } else {
        bytes += names[random() % (sizeof names / sizeof names[0])];
        if (random() % 8 != 0) {
          bytes += random() % 3 == 0 ? " = " : "=";
          int parts = static_cast<int>(random() % 5);
          for (int p = 0; p < parts; ++p) bytes += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        }
      }
      bytes += ends[random() % (sizeof ends / sizeof ends[0])];
    }
    if (compare_on(file_with(bytes), "generated " + std::to_string(file), queries) > 0 && HasFailure()) {
      static int reported = 0;
      if (++reported > 20) return;
    }
  }
}

}  // namespace
