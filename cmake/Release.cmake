# The release facts every shipped file shows. The version is PROJECT_VERSION
# (project() in the top-level CMakeLists.txt); the date and the notes are the
# top entry of res/changelog, which must name that version, so a release
# cannot go out with a stale changelog.
set(QUILLET_CHANGELOG ${CMAKE_SOURCE_DIR}/res/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUILLET_CHANGELOG})
file(STRINGS ${QUILLET_CHANGELOG} changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^quillet \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "res/changelog: the top entry must be version ${PROJECT_VERSION}, not '${changelog_head}'")
endif()
list(FILTER changelog_lines INCLUDE REGEX "^ -- ")
list(GET changelog_lines 0 changelog_trailer)
if(NOT changelog_trailer MATCHES ",  *([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "res/changelog: no date in '${changelog_trailer}'")
endif()
set(year ${CMAKE_MATCH_3})
set(day ${CMAKE_MATCH_1})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
# Adding 101 and 100 and dropping the leading 1 pads to two digits.
math(EXPR month "${month} + 101")
math(EXPR day "${day} + 100")
string(SUBSTRING ${month} 1 2 month)
string(SUBSTRING ${day} 1 2 day)
set(QUILLET_RELEASE_DATE ${year}-${month}-${day})

include(GNUInstallDirs)

# A manual page from res/man/PAGE.in (res/man/LANGUAGE/PAGE.in for a
# translation, the optional second argument) with the version and date filled
# in, compressed as Debian wants it and installed in its section.
function(quillet_install_manual page)
  set(language ${ARGV1})
  set(folder man)
  set(name manual_${page})
  if(language)
    set(folder man/${language})
    set(name manual_${language}_${page})
  endif()
  set(out ${CMAKE_BINARY_DIR}/${folder}/${page})
  configure_file(${CMAKE_SOURCE_DIR}/res/${folder}/${page}.in ${out} @ONLY)
  add_custom_command(OUTPUT ${out}.gz COMMAND gzip -9nkf ${out} DEPENDS ${out} VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${out}.gz)
  string(REGEX MATCH "[0-9]$" section ${page})
  set(destination ${CMAKE_INSTALL_MANDIR})
  if(language)
    set(destination ${destination}/${language})
  endif()
  install(FILES ${out}.gz DESTINATION ${destination}/man${section})
endfunction()
