#include "talvoro/helper.h"

// The class has no state: construction, copy and destruction do nothing. They
// are defined here so that the class's virtual table lives in the library.
CTinyXmlHelper::CTinyXmlHelper() = default;
CTinyXmlHelper::CTinyXmlHelper(const CTinyXmlHelper&) = default;
CTinyXmlHelper& CTinyXmlHelper::operator=(const CTinyXmlHelper&) = default;
CTinyXmlHelper::~CTinyXmlHelper() = default;
