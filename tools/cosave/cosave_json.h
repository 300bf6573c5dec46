// A co-save image as JSON and back: every field of every section, texts
// decoded from Windows-1252 so that no byte is lost, floats exact.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "save/cosave_image.h"

namespace korvel::cosave_tool {

using Json = nlohmann::ordered_json;

Json ImageToJson(const CoSaveImage& image);

// Fills *image from json; false with *why naming the first field that is
// missing, of the wrong kind or out of range.
bool JsonToImage(const Json& json, CoSaveImage* image, std::string* why);

// Windows-1252 bytes as UTF-8 and back. The five bytes the code page leaves
// undefined stand for the control characters of the same number.
std::string Cp1252ToUtf8(const std::string& bytes);
bool Utf8ToCp1252(const std::string& utf8, std::string* bytes);

}  // namespace korvel::cosave_tool
