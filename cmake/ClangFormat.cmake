# Checks (MODE=check) or rewrites (MODE=fix) the formatting of every C++ source of the project
# with the repository's .clang-format. Run by the format-check and format targets; the files are
# collected when it runs, so new files count without configuring again.
set(_folders src tests bench tools)
set(_patterns)
foreach(_f IN LISTS _folders)
  list(APPEND _patterns "${ROOT}/${_f}/*.cpp" "${ROOT}/${_f}/*.h")
endforeach()
file(GLOB_RECURSE _files LIST_DIRECTORIES false RELATIVE "${ROOT}" ${_patterns})
list(SORT _files)

if(MODE STREQUAL "fix")
  execute_process(COMMAND "${CLANG_FORMAT}" -i ${_files}
                  WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "clang-format failed")
  endif()
else()
  execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${_files}
                  WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE _rc ERROR_VARIABLE _out)
  if(NOT _rc EQUAL 0)
    # One line per file that differs, then the first places clang-format points at.
    string(REGEX MATCHALL "[^\n]+: error: code should be clang-formatted" _hits "${_out}")
    set(_bad)
    foreach(_h IN LISTS _hits)
      string(REGEX REPLACE ":[0-9]+:[0-9]+: error:.*" "" _name "${_h}")
      list(APPEND _bad "${_name}")
    endforeach()
    list(REMOVE_DUPLICATES _bad)
    string(SUBSTRING "${_out}" 0 3000 _first)
    list(JOIN _bad "\n  " _names)
    message("${_first}")
    message(FATAL_ERROR "These files differ from .clang-format:\n  ${_names}\n"
                        "`cmake --build <build> --target format` rewrites them.")
  endif()
endif()
list(LENGTH _files _n)
message(STATUS "${_n} files formatted as .clang-format says")
