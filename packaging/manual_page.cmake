# Manual pages made at build time from a program's own --help and --version with help2man, and
# installed compressed in share/man/man<SECTION>:
#   corvela_manual_page(TARGET program NAME "one line" [SECTION 1] [INCLUDE file.h2m]
#                       [ENVIRONMENT VAR=VALUE...])
# NAME is the line of the page's NAME section; INCLUDE adds the sections of a help2man include
# file (what --help does not say: files, see also); ENVIRONMENT is set while the program runs.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

function(corvela_manual_page)
  cmake_parse_arguments(PAGE "" "TARGET;NAME;SECTION;INCLUDE" "ENVIRONMENT" ${ARGN})
  if(NOT PAGE_SECTION)
    set(PAGE_SECTION 1)
  endif()
  set(page ${PROJECT_BINARY_DIR}/man/${PAGE_TARGET}.${PAGE_SECTION})
  set(include_option)
  if(PAGE_INCLUDE)
    set(include_option --include=${PAGE_INCLUDE})
  endif()
  # C.UTF-8 keeps the program's accented letters; help2man's own headings stay those of the C
  # locale (NAME, SYNOPSIS, DESCRIPTION …).
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env ${PAGE_ENVIRONMENT}
      ${HELP2MAN} --no-info --locale=C.UTF-8 --section=${PAGE_SECTION}
      "--name=${PAGE_NAME}" "--manual=Manual de Corvela" ${include_option}
      --output=${page} $<TARGET_FILE:${PAGE_TARGET}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${PAGE_TARGET} ${PAGE_INCLUDE}
    COMMENT "Página de manual ${PAGE_TARGET}(${PAGE_SECTION})"
    VERBATIM)
  add_custom_target(${PAGE_TARGET}_manual_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${PAGE_SECTION})
endfunction()
