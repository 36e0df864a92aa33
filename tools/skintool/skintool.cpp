// skintool: packs a folder (description + BMP images) into a skin package, and unpacks, lists,
// checks and dumps packages. Exit codes: 0 done (check: no problem), 1 problems found, 2 bad
// usage or input that cannot be read.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezDataRead.h"
#include "tools/skintool/LzhEncode.h"
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinPack.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct TFailure {
  std::string message;
};

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFailure{"cannot open " + path.string()};
  Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TFailure{"cannot read " + path.string()};
  return data;
}

void WriteFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw TFailure{"cannot write " + path.string()};
}

std::string Lower(std::string s) { return LowerAscii(s); }

int Pack(const fs::path& folder, const fs::path& output) {
  if (!fs::is_directory(folder)) throw TFailure{folder.string() + " is not a folder"};
  std::vector<TPackMember> members;
  int descriptions = 0;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  // The description first, then the images by name, those drawn for 2x ("...@2x.bmp") last: a
  // reader unpacks only as far as the last member it reads, so at 96 DPI the twins stay packed.
  // The same folder always packs the same.
  auto rank = [](const fs::path& f) {
    if (Lower(f.extension().string()) == ".ini") return 0;
    return Lower(f.stem().string()).ends_with("@2x") ? 2 : 1;
  };
  std::sort(files.begin(), files.end(), [&](const fs::path& a, const fs::path& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return a.filename().string() < b.filename().string();
  });
  for (const fs::path& f : files) {
    std::string ext = Lower(f.extension().string());
    if (ext == ".ini") {
      ++descriptions;
    } else if (ext != ".bmp") {
      std::fprintf(stderr, "skintool: skipping %s (neither .ini nor .bmp)\n", f.string().c_str());
      continue;
    }
    members.push_back({f.filename().string(), ReadFile(f)});
  }
  if (descriptions != 1)
    throw TFailure{folder.string() + " must hold exactly one .ini description, it holds " +
                   std::to_string(descriptions)};
  Bytes unpacked = BuildUnpackedPackage(members);
  if (unpacked.size() > static_cast<std::size_t>(kLzhMaxDecodedLength))
    throw TFailure{"the package would unpack to more than " + std::to_string(kLzhMaxDecodedLength) +
                   " bytes"};
  Bytes stored;
  LzhEncodeStored(unpacked.data(), unpacked.size(), stored);
  WriteFile(output, stored.data(), stored.size());
  std::printf("packed %zu members, %zu bytes unpacked, %zu bytes stored: %s\n", members.size(),
              unpacked.size(), stored.size(), output.string().c_str());
  return 0;
}

TSkinReader Open(const fs::path& package, Bytes& stored) {
  stored = ReadFile(package);
  TSkinReader reader;
  std::string error;
  TPackageStatus status = reader.LoadPackage(stored.data(), stored.size(), &error);
  if (status == TPackageStatus::WrongVersion)
    throw TFailure{package.string() + ": wrong package version: " + error};
  if (status != TPackageStatus::Ok) throw TFailure{package.string() + ": not a valid skin package: " + error};
  return reader;
}

bool SafeMemberName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

int Unpack(const fs::path& package, const fs::path& folder) {
  Bytes stored;
  TSkinReader reader = Open(package, stored);
  fs::create_directories(folder);
  int bad = 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[i];
    if (!SafeMemberName(name)) {
      std::fprintf(stderr, "skintool: member %zu has the unsafe name \"%s\"; not written\n", i, name.c_str());
      ++bad;
      continue;
    }
    auto data = reader.Member(i);
    WriteFile(folder / name, data.data(), data.size());
  }
  std::printf("unpacked %zu members into %s\n", reader.Count() - bad, folder.string().c_str());
  return bad ? 1 : 0;
}

int List(const fs::path& package) {
  Bytes stored;
  TSkinReader reader = Open(package, stored);
  std::printf("version %d, %zu members, %zu bytes stored\n", reader.Version(), reader.Count(), stored.size());
  for (std::size_t i = 0; i < reader.Count(); ++i)
    std::printf("%10d  %s\n", reader.Size(i), reader.Names()[i].c_str());
  return 0;
}

int Check(const fs::path& package) {
  Bytes stored = ReadFile(package);
  std::vector<std::string> problems = CheckSkinPackage(stored.data(), stored.size());
  for (const std::string& p : problems) std::printf("%s: %s\n", package.string().c_str(), p.c_str());
  if (problems.empty()) std::printf("%s: ok\n", package.string().c_str());
  return problems.empty() ? 0 : 1;
}

int Dump(const fs::path& package) {
  Bytes stored = ReadFile(package);
  TSkinElements skin;
  std::string error;
  std::vector<std::string> problems;
  TPackageStatus status = LoadSkinPackage(stored.data(), stored.size(), skin, &error, &problems);
  if (status != TPackageStatus::Ok) throw TFailure{package.string() + ": " + error};
  std::fputs(DumpSkinElements(skin).c_str(), stdout);
  for (const std::string& p : problems) std::printf("problem: %s\n", p.c_str());
  return 0;
}

int Usage() {
  std::fputs(
      "usage: skintool pack FOLDER PACKAGE     pack a description and its BMP images\n"
      "       skintool unpack PACKAGE FOLDER   write every member into FOLDER\n"
      "       skintool list PACKAGE            members and sizes\n"
      "       skintool check PACKAGE           validate; exit code 1 when problems are found\n"
      "       skintool dump PACKAGE            the element model read from the package\n",
      stderr);
  return 2;
}

}  // namespace

// A path given on the command line. On Windows the arguments are in the ANSI code page, which
// the narrow path constructor does not know: a folder named in Chinese would not be found.
fs::path PathArg(const std::string& arg) {
#ifdef _WIN32
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, arg.data(), static_cast<int>(arg.size()), nullptr, 0),
                    L'\0');
  MultiByteToWideChar(CP_ACP, 0, arg.data(), static_cast<int>(arg.size()), wide.data(),
                      static_cast<int>(wide.size()));
  return fs::path(wide);
#else
  return fs::path(arg);
#endif
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 3 && args[0] == "pack") return Pack(PathArg(args[1]), PathArg(args[2]));
    if (args.size() == 3 && args[0] == "unpack") return Unpack(PathArg(args[1]), PathArg(args[2]));
    if (args.size() == 2 && args[0] == "list") return List(PathArg(args[1]));
    if (args.size() == 2 && args[0] == "check") return Check(PathArg(args[1]));
    if (args.size() == 2 && args[0] == "dump") return Dump(PathArg(args[1]));
    return Usage();
  } catch (const TFailure& f) {
    std::fprintf(stderr, "skintool: %s\n", f.message.c_str());
  } catch (const fs::filesystem_error& e) {
    std::fprintf(stderr, "skintool: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skintool: %s\n", e.what());
  }
  return 2;
}
