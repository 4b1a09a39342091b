# Generates a translation unit that holds every declaration of platform/api up
# against the system's windows.h, ddraw.h and dsound.h. Compiling it on Windows
# fails when a function's argument or return types (const-ness included), a COM
# method, a type name, a constant's value, or a structure's or union's field
# types and order differ.
#   corvane_generate_api_check(<output.cpp> <api header>...)
#
# Each _corvane_api_check_* helper reads the header text in the variable named
# by text_var and appends its checks to the variable named by out_var.

function(corvane_generate_api_check output)
  set(body "")
  # Function-like macros are renamed so the api's own definitions are the ones
  # that compute the values compared below.
  set(api_macros "")
  foreach(header IN LISTS ARGN)
    file(READ "${header}" text)
    string(REGEX MATCHALL "#define [A-Z_0-9]+\\(" function_macros "${text}")
    foreach(macro IN LISTS function_macros)
      string(REGEX REPLACE "#define ([A-Z_0-9]+)\\(" "\\1" name "${macro}")
      list(APPEND api_macros ${name})
    endforeach()
  endforeach()

  foreach(header IN LISTS ARGN)
    file(READ "${header}" text)
    get_filename_component(header_name "${header}" NAME)
    string(APPEND body "\n// ${header_name}\n")
    # Comments out, continuation lines joined.
    string(REGEX REPLACE "//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "\\\\\n" " " text "${text}")
    _corvane_api_check_macros(body text "${api_macros}")

    # Declarations only from here on, on one line.
    string(REGEX REPLACE "#[^\n]*" "" text "${text}")
    string(REGEX REPLACE "[\n\t ]+" " " text "${text}")
    # CMake lists split at semicolons, so statements end in '@' from here on.
    string(REPLACE ";" "@" text "${text}")
    _corvane_api_check_aliases(body text)
    _corvane_api_check_structs(body text)
    _corvane_api_check_functions(body text)
  endforeach()

  set(content "// Generated from platform/api by platform/windows/api_check.cmake.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include \"platform/api/platform.h\"

namespace {
template <typename A, typename B>
constexpr bool SameValue(A a, B b) {
    return static_cast<long long>(a) == static_cast<long long>(b);
}
}  // namespace
${body}")
  file(CONFIGURE OUTPUT "${output}" CONTENT "${content}" @ONLY)
endfunction()

# Macros: function-like ones copied under their CORVANE_API_ names, values
# compared with the system's.
function(_corvane_api_check_macros out_var text_var api_macros)
  set(checks "")
  string(REGEX MATCHALL "#define [A-Z_0-9]+\\([^\n]*" function_macros "${${text_var}}")
  foreach(macro IN LISTS function_macros)
    string(REGEX REPLACE "#define ([A-Z_0-9]+)" "#define CORVANE_API_\\1" renamed "${macro}")
    string(APPEND checks "${renamed}\n")
  endforeach()

  string(REGEX MATCHALL "#define [A-Z_0-9]+ [^\n]+" value_macros "${${text_var}}")
  foreach(macro IN LISTS value_macros)
    string(REGEX REPLACE "#define ([A-Z_0-9]+) (.*)" "\\1" name "${macro}")
    string(REGEX REPLACE "#define ([A-Z_0-9]+) (.*)" "\\2" value "${macro}")
    string(STRIP "${value}" value)
    # Handles built from resource numbers are pointers, not values.
    if(value STREQUAL "" OR value MATCHES "MAKEINTRESOURCE")
      continue()
    endif()
    foreach(api_macro IN LISTS api_macros)
      string(REGEX REPLACE "(^|[^A-Za-z_0-9])${api_macro}\\(" "\\1CORVANE_API_${api_macro}("
                           value "${value}")
    endforeach()
    string(APPEND checks "static_assert(SameValue(${value}, ${name}), \"${name} differs\");\n")
  endforeach()
  set(${out_var} "${${out_var}}${checks}" PARENT_SCOPE)
endfunction()

# Type names: the same type, or for the fixed-width integers the api uses where
# Windows has its own (long for LONG, say), the same size and signedness.
function(_corvane_api_check_aliases out_var text_var)
  set(checks "")
  string(REGEX MATCHALL "using [A-Za-z_0-9]+ = [^@]+@" aliases "${${text_var}}")
  foreach(alias IN LISTS aliases)
    string(REGEX REPLACE "using ([A-Za-z_0-9]+) = ([^@]+)@" "\\1" name "${alias}")
    string(REGEX REPLACE "using ([A-Za-z_0-9]+) = ([^@]+)@" "\\2" type "${alias}")
    if(type MATCHES "^std::u?int")
      string(APPEND checks
             "static_assert(sizeof(${name}) == sizeof(${type}) && "
             "std::is_signed<${name}>::value == std::is_signed<${type}>::value, "
             "\"${name} differs\");\n")
    else()
      string(APPEND checks
             "static_assert(std::is_same<${name}, ${type}>::value, \"${name} differs\");\n")
    endif()
  endforeach()
  set(${out_var} "${${out_var}}${checks}" PARENT_SCOPE)
endfunction()

# Structures and unions: COM interfaces hold virtual methods, the others hold fields.
function(_corvane_api_check_structs out_var text_var)
  set(checks "")
  string(REGEX MATCHALL "(struct|union) [A-Za-z_0-9]+ {[^}]*}" structs "${${text_var}}")
  foreach(struct IN LISTS structs)
    string(REGEX REPLACE "(struct|union) ([A-Za-z_0-9]+) {([^}]*)}" "\\2" name "${struct}")
    string(REGEX REPLACE "(struct|union) ([A-Za-z_0-9]+) {([^}]*)}" "\\3" members "${struct}")
    if(members MATCHES "virtual")
      _corvane_api_check_methods(checks "${name}" members)
    else()
      _corvane_api_check_fields(checks "${name}" members)
    endif()
  endforeach()
  set(${out_var} "${${out_var}}${checks}" PARENT_SCOPE)
endfunction()

# A COM interface's methods, with their result and argument types.
function(_corvane_api_check_methods out_var name members_var)
  set(method_checks "")
  string(REGEX MATCHALL "virtual [^@]+\\) = 0" methods "${${members_var}}")
  foreach(method IN LISTS methods)
    string(REGEX REPLACE "virtual (.+[ *])([A-Za-z_0-9]+)\\((.*)\\) = 0" "\\1" result
                         "${method}")
    string(REGEX REPLACE "virtual (.+[ *])([A-Za-z_0-9]+)\\((.*)\\) = 0" "\\2" method_name
                         "${method}")
    string(REGEX REPLACE "virtual (.+[ *])([A-Za-z_0-9]+)\\((.*)\\) = 0" "\\3" arguments
                         "${method}")
    string(STRIP "${result}" result)
    string(APPEND method_checks
           "static_assert(std::is_convertible<decltype(&${name}::${method_name}), "
           "${result} (STDMETHODCALLTYPE ${name}::*)(${arguments})>::value, "
           "\"${name}::${method_name} differs\");\n")
  endforeach()
  set(${out_var} "${${out_var}}${method_checks}" PARENT_SCOPE)
endfunction()

# A structure's or union's fields, their types and their order.
function(_corvane_api_check_fields out_var name members_var)
  set(field_checks "")
  string(REPLACE "@" "\n" fields "${${members_var}}")
  string(REGEX MATCHALL "[^\n]+" fields "${fields}")
  set(previous "")
  foreach(field IN LISTS fields)
    string(STRIP "${field}" field)
    if(NOT field MATCHES "^([A-Za-z_0-9]+( ?\\*)?) ([A-Za-z_0-9]+)$")
      continue()
    endif()
    set(type "${CMAKE_MATCH_1}")
    set(field_name "${CMAKE_MATCH_3}")
    string(APPEND field_checks
           "static_assert(std::is_same<decltype(${name}::${field_name}), ${type}>::value, "
           "\"${name}::${field_name} differs\");\n")
    if(previous)
      string(APPEND field_checks
             "static_assert(offsetof(${name}, ${previous}) < offsetof(${name}, ${field_name}), "
             "\"${name}::${field_name} out of order\");\n")
    endif()
    set(previous "${field_name}")
  endforeach()
  set(${out_var} "${${out_var}}${field_checks}" PARENT_SCOPE)
endfunction()

# Free functions, all WINAPI.
function(_corvane_api_check_functions out_var text_var)
  set(checks "")
  string(REGEX REPLACE "(struct|union) [A-Za-z_0-9]+ {[^}]*}" "" declarations "${${text_var}}")
  string(REGEX MATCHALL "[A-Za-z_0-9]+ \\*?WINAPI [A-Za-z_0-9]+\\([^)]*\\)@" functions
                        "${declarations}")
  foreach(function IN LISTS functions)
    string(REGEX REPLACE "(.+) WINAPI ([A-Za-z_0-9]+)\\((.*)\\)@" "\\1" result "${function}")
    string(REGEX REPLACE "(.+) WINAPI ([A-Za-z_0-9]+)\\((.*)\\)@" "\\2" function_name
                         "${function}")
    string(REGEX REPLACE "(.+) WINAPI ([A-Za-z_0-9]+)\\((.*)\\)@" "\\3" arguments
                         "${function}")
    string(APPEND checks
           "static_assert(std::is_same<decltype(&::${function_name}), "
           "${result} (WINAPI*)(${arguments})>::value, \"${function_name} differs\");\n")
  endforeach()
  set(${out_var} "${${out_var}}${checks}" PARENT_SCOPE)
endfunction()
