#include "data/SaveFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

PlayerFileState LoadPlayerFile(const std::string& path, const char* rootName, tinyxml2::XMLDocument& document,
                               std::string& reason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        return PlayerFileState::Missing;
    }
    const tinyxml2::XMLError error = document.LoadFile(path.c_str());
    if (error != tinyxml2::XML_SUCCESS) {
        reason = error == tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED ||
                         error == tinyxml2::XML_ERROR_FILE_READ_ERROR
                     ? "it cannot be read"
                     : std::string("it is not valid XML (") + document.ErrorStr() + ")";
        return PlayerFileState::Broken;
    }
    const tinyxml2::XMLElement* root = document.RootElement();
    if (root == nullptr || std::strcmp(root->Name(), rootName) != 0) {
        reason = std::string("it has no \"") + rootName + "\" element";
        return PlayerFileState::Broken;
    }
    return PlayerFileState::Read;
}

std::string KeepAside(const std::string& path) {
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        return {};
    }
    return aside;
}

std::string DocumentText(tinyxml2::XMLDocument& document) {
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return std::string(printer.CStr(), size_t(printer.CStrSize() - 1));
}
