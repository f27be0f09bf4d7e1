// The code of the standard strings, compiled with the launcher's own options
// (for size, without exceptions, each function in a section of its own) so
// that the linker keeps only the functions the launcher calls. The C++
// library's prebuilt copies hold every function of both string classes.
#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
