// SPDX-License-Identifier: MIT
#include "script_compiler.h"

#include <cctype>
#include <optional>
#include <vector>

namespace platform {
namespace {

enum class TokenKind { Word, String, Punctuation, LineBreak };

struct Token {
  TokenKind kind;
  std::string text;  // a word in lower case, a string's value, the punctuation character
};

bool isWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isWordPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

Status readString(std::string_view source, size_t& at, std::string& value) {
  ++at;  // the opening quote
  while (at < source.size()) {
    char c = source[at++];
    if (c == '"') return {};
    if (c != '\\') {
      value += c;
      continue;
    }
    if (at == source.size()) break;
    switch (char escaped = source[at++]) {
      case '"': value += '"'; break;
      case '\\': value += '\\'; break;
      case 'n': value += '\n'; break;
      case 't': value += '\t'; break;
      case 'r': value += '\r'; break;
      default: return fail(std::string("unknown escape \\") + escaped + " in a string");
    }
  }
  return fail("a string is not closed");
}

Result<std::vector<Token>> tokenize(std::string_view source) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < source.size()) {
    char c = source[at];
    if (c == ' ' || c == '\t') {
      ++at;
    } else if (c == '\n' || c == '\r') {
      ++at;
      if (tokens.empty() || tokens.back().kind != TokenKind::LineBreak) tokens.push_back({TokenKind::LineBreak, ""});
    } else if (c == '"') {
      std::string value;
      if (Status read = readString(source, at, value); !read) return fail(read.error());
      tokens.push_back({TokenKind::String, std::move(value)});
    } else if (c == '{' || c == '}' || c == ':' || c == ',') {
      tokens.push_back({TokenKind::Punctuation, std::string(1, c)});
      ++at;
    } else if (isWordStart(c)) {
      std::string word;
      while (at < source.size() && isWordPart(source[at]))
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(source[at++])));
      tokens.push_back({TokenKind::Word, std::move(word)});
    } else {
      return fail(std::string("unexpected character '") + c + "'");
    }
  }
  while (!tokens.empty() && tokens.back().kind == TokenKind::LineBreak) tokens.pop_back();
  if (!tokens.empty() && tokens.front().kind == TokenKind::LineBreak) tokens.erase(tokens.begin());
  return tokens;
}

// A form is written as its words, with "$" for a string, "@" for a name,
// "?" for true or false, "/" for a line break and the punctuation itself.
// Captured strings, names and truth values come back in order.
std::optional<std::vector<std::string>> match(const std::vector<Token>& tokens, std::string_view form) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start < form.size()) {
    size_t end = form.find(' ', start);
    if (end == std::string_view::npos) end = form.size();
    pieces.push_back(form.substr(start, end - start));
    start = end + 1;
  }
  if (pieces.size() != tokens.size()) return std::nullopt;
  std::vector<std::string> captured;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Token& token = tokens[i];
    std::string_view piece = pieces[i];
    if (piece == "$") {
      if (token.kind != TokenKind::String) return std::nullopt;
      captured.push_back(token.text);
    } else if (piece == "@") {
      if (token.kind != TokenKind::Word) return std::nullopt;
      captured.push_back(token.text);
    } else if (piece == "?") {
      if (token.kind != TokenKind::Word || (token.text != "true" && token.text != "false")) return std::nullopt;
      captured.push_back(token.text);
    } else if (piece == "/") {
      if (token.kind != TokenKind::LineBreak) return std::nullopt;
    } else if (piece == "{" || piece == "}" || piece == ":" || piece == ",") {
      if (token.kind != TokenKind::Punctuation || token.text != piece) return std::nullopt;
    } else if (token.kind != TokenKind::Word || token.text != piece) {
      return std::nullopt;
    }
  }
  return captured;
}

constexpr std::string_view kAddLoginItem =
    "tell application $ / make new login item at end with properties { path : $ , hidden : ? } / end tell";
constexpr std::string_view kDeleteLoginItem = "tell application $ / delete login item $ / end tell";
constexpr std::string_view kOpenLocation = "property @ : $ / open location @";
constexpr std::string_view kQuitApplication = "tell application $ to quit";

}  // namespace

Result<CompiledScript> compileScript(std::string_view source) {
  auto tokenized = tokenize(source);
  if (!tokenized) return fail(tokenized.error());
  const std::vector<Token>& tokens = *tokenized;

  if (auto captured = match(tokens, kAddLoginItem))
    return CompiledScript{AddLoginItem{(*captured)[0], (*captured)[1], (*captured)[2] == "true"}};
  if (auto captured = match(tokens, kDeleteLoginItem)) return CompiledScript{DeleteLoginItem{(*captured)[0], (*captured)[1]}};
  if (auto captured = match(tokens, kOpenLocation)) {
    if ((*captured)[0] != (*captured)[2]) return fail("the variable \"" + (*captured)[2] + "\" is not defined");
    return CompiledScript{OpenLocation{(*captured)[1]}};
  }
  if (auto captured = match(tokens, kQuitApplication)) return CompiledScript{QuitApplication{(*captured)[0]}};
  return fail("not a script this system can run");
}

std::string scriptStringLiteral(std::string_view text) {
  std::string literal = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') literal += '\\';
    literal += c;
  }
  return literal + "\"";
}

}  // namespace platform
