#include "peers/orvanta/GameServerScript.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <sstream>

#include <platform/strings.h>

#include "peers/orvanta/PlaceModel.h"

bool GameServerScript::Load(std::istream& in, std::string& error) {
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r')
      text.pop_back();
    if (text.empty() || text[0] == '#')
      continue;
    std::istringstream words(text);
    std::string verb;
    std::string send;
    Line line;
    int major = 0;
    int minor = 0;
    words >> verb;
    if (verb == "as") {
      words >> line.user >> verb;
      if (line.user.empty()) verb.clear();
    }
    if (verb == "turn")
      words >> line.turn;
    if (!(words >> major >> minor >> send >> line.major >> line.minor >> line.flag) ||
        (verb != "on" && verb != "turn") || send != "send" || (verb == "turn" && line.turn < 1)) {
      error = "line " + std::to_string(number) +
              ": expected '[as ID] on M m send M m flag payload' or '[as ID] turn k M m send ...'";
      return false;
    }
    std::getline(words >> std::ws, line.payload);
    line.payload = Utf8ToCp949(line.payload).str();
    m_lines[{major, minor}].push_back(line);
  }
  return true;
}

void GameServerScript::Install(GameServerPeer& peer) {
  // The login is always watched for its ID; it keeps the standard answer without lines of its own.
  if (m_lines.find({1, 1}) == m_lines.end())
    m_lines[{1, 1}] = {{std::string(), 0, 1, 1, "1", "|3|Welcome|"}};
  for (const auto& [key, lines] : m_lines) {
    const bool login = key == Key{1, 1};
    peer.ReplyComputed(key.first, key.second,
                       [lines, login, id = m_loginId](const PeerRecord& record, int ordinal) {
                         if (login) {
                           const std::vector<std::string> fields = PeerFields(record.payload);
                           *id = fields.empty() ? std::string() : fields[0];
                         }
                         // The lines of the logged-in user, when the pair has any, stand for the others.
                         const bool own = std::any_of(lines.begin(), lines.end(),
                                                      [&](const Line& line) { return line.user == *id; });
                         const std::string user = own ? *id : std::string();
                         std::vector<PeerPiece> pieces;
                         for (int pass = 0; pass < 2; ++pass)
                           for (const Line& line : lines)
                             if (line.user == user &&
                                 ((pass == 0 && line.turn == 0) || (pass == 1 && line.turn == ordinal)))
                               pieces.push_back({GameServerPeer::Record(line.major, line.minor,
                                                                        Fill(line.payload, record, ordinal, *id),
                                                                        line.flag),
                                                 0});
                         return pieces;
                       });
  }
}

std::string GameServerScript::Fill(const std::string& text, const PeerRecord& record, int ordinal,
                                   const std::string& id) {
  const std::vector<std::string> fields = PeerFields(record.payload);
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('{', at);
    const std::size_t close = open == std::string::npos ? open : text.find('}', open);
    if (close == std::string::npos) {
      out += text.substr(at);
      break;
    }
    out += text.substr(at, open - at);
    const std::string name = text.substr(open + 1, close - open - 1);
    if (name == "id") {
      out += id;
    } else if (name == "n") {
      out += std::to_string(ordinal);
    } else if (name == "2n") {
      out += std::to_string(2 * ordinal);
    } else if (name == "2n-1") {
      out += std::to_string(2 * ordinal - 1);
    } else if (name.size() > 3 && name.compare(0, 3, "2n+") == 0 &&
               name.find_first_not_of("0123456789", 3) == std::string::npos && name.size() <= 6) {
      out += std::to_string(2 * ordinal + std::stoi(name.substr(3)));
    } else if (!name.empty() && name.size() <= 2 && std::isdigit(static_cast<unsigned char>(name[0])) &&
               std::isdigit(static_cast<unsigned char>(name.back()))) {
      const std::size_t index = std::stoul(name);
      if (index < fields.size())
        out += fields[index];
    } else {
      out += text.substr(open, close - open + 1);  // not a field: kept as written
    }
    at = close + 1;
  }
  return out;
}
