#include "talvoro/helper.h"
#include "frame/env.h"

// The class has no state: construction, copy and destruction do nothing. They
// are defined here so that the class's virtual table lives in the library.
CTinyXmlHelper::CTinyXmlHelper() = default;
CTinyXmlHelper::CTinyXmlHelper(const CTinyXmlHelper&) = default;
CTinyXmlHelper& CTinyXmlHelper::operator=(const CTinyXmlHelper&) = default;
CTinyXmlHelper::~CTinyXmlHelper() = default;

bool CTinyXmlHelper::IsFileExist(const char* path) {
  return talvoro::Env::Default().PathExists(path);
}
