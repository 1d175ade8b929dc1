// Debian ships SimpleIni's templates compiled in a library; on Windows the
// header is all there is, so the settings' one instantiation is compiled here.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

template class CSimpleIniTempl<char, SI_GenericNoCase<char>, SI_ConvertA<char>>;
