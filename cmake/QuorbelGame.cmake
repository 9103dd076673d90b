# quorbel_add_game(NAME name SOURCES file...
#                  [MEDIA file...]
#                  [MEDIA_GENERATOR file.cpp MEDIA_GENERATED name...])
#
# Builds the game `name` (an executable target of that name, linked to
# Quorbel::runtime) and appends its media to the program as a packed archive,
# so that ${CMAKE_CURRENT_BINARY_DIR}/name is the whole game in one file that
# runs from any folder with nothing beside it.
#
#   MEDIA            pictures, sounds, fonts, INI files... of the project
#                    (paths relative to its source folder)
#   MEDIA_GENERATOR  a C++ program built for the build machine and run at
#                    build time with one argument, a folder, into which it
#                    writes the MEDIA_GENERATED files (names in that folder)
#
# The media are also copied (or generated) beside the program in the build
# folder, so the game finds them there as plain files before it uses the
# archive. Members are found by their file names, without folders and
# without letter case. The game reads them once it names its own program as
# the archive, right after StartEngine: SetShoebox(its own path, its own
# path). A plain file of the same name beside the program wins over the
# packed one.
#
# `strip` and `cmake --install --strip` drop what follows the program's
# sections, the media too: strip the program before it is packed, if at all.
#
# Under Emscripten (the browser SDK) the game is a page folder instead,
# ${CMAKE_CURRENT_BINARY_DIR}/name/, which any static web host serves as it is:
#
#   index.html            the page, from the SDK's page shell
#   shell.js shell.css    the page's script and style
#   name.js name.wasm     the program
#   name.data             its media, packed by sbpack as the desktop's
#                         one-file game carries them
#
# The page writes name.data into the program's folder as the program's own
# file, so the same SetShoebox call finds the media there. A media generator
# is built with Emscripten too and run by node. The program is linked with
# ASYNCIFY over every call, indirect ones too: PresentFrame may be reached
# from a virtual function or through a function pointer. A game that reaches
# every wait through direct calls may link with -sASYNCIFY_IGNORE_INDIRECT=1
# for a program about a quarter smaller.
set(_QUORBEL_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(quorbel_add_game)
  cmake_parse_arguments(PARSE_ARGV 0 GAME "" "NAME;MEDIA_GENERATOR"
    "SOURCES;MEDIA;MEDIA_GENERATED")
  if(NOT GAME_NAME OR NOT GAME_SOURCES)
    message(FATAL_ERROR "quorbel_add_game: NAME and SOURCES are needed")
  endif()
  if(GAME_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "quorbel_add_game: unknown arguments ${GAME_UNPARSED_ARGUMENTS}")
  endif()
  if(GAME_MEDIA_GENERATED AND NOT GAME_MEDIA_GENERATOR)
    message(FATAL_ERROR "quorbel_add_game: MEDIA_GENERATED needs a MEDIA_GENERATOR")
  endif()

  add_executable(${GAME_NAME} ${GAME_SOURCES})
  target_link_libraries(${GAME_NAME} PRIVATE Quorbel::runtime)
  set(folder ${CMAKE_CURRENT_BINARY_DIR})
  set(program_folder ${folder})
  if(EMSCRIPTEN)
    set(program_folder ${folder}/${GAME_NAME})
    set_target_properties(${GAME_NAME} PROPERTIES SUFFIX ".js")
  endif()
  set_target_properties(${GAME_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${program_folder})

  set(media)
  foreach(file IN LISTS GAME_MEDIA)
    get_filename_component(source ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name ${file} NAME)
    add_custom_command(
      OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
      DEPENDS ${source}
      VERBATIM)
    list(APPEND media ${folder}/${name})
  endforeach()
  if(GAME_MEDIA_GENERATOR)
    set(generated ${GAME_MEDIA_GENERATED})
    list(TRANSFORM generated PREPEND ${folder}/)
    add_executable(${GAME_NAME}_media ${GAME_MEDIA_GENERATOR})
    set(run_generator ${GAME_NAME}_media)
    if(EMSCRIPTEN)
      _quorbel_node_program(${GAME_NAME}_media)
      set(run_generator ${QUORBEL_NODE} $<TARGET_FILE:${GAME_NAME}_media>)
    endif()
    add_custom_command(
      OUTPUT ${generated}
      COMMAND ${run_generator} ${folder}
      DEPENDS ${GAME_NAME}_media
      COMMENT "Making the media of ${GAME_NAME}"
      VERBATIM)
    list(APPEND media ${generated})
  endif()
  if(EMSCRIPTEN)
    _quorbel_web_page(${GAME_NAME} ${program_folder} ${media})
  elseif(media)
    _quorbel_append_media(${GAME_NAME} ${media})
  endif()
endfunction()

# Every link writes a fresh program and appends one archive to it; a changed
# media file relinks the program, so the archive is never appended twice.
function(_quorbel_append_media game)
  add_custom_target(${game}_media_files DEPENDS ${ARGN})
  add_dependencies(${game} ${game}_media_files)
  set_property(TARGET ${game} APPEND PROPERTY LINK_DEPENDS ${ARGN})
  add_custom_command(TARGET ${game} POST_BUILD
    COMMAND Quorbel::sbpack append $<TARGET_FILE:${game}> ${ARGN}
    COMMENT "Appending the media of ${game} to its program"
    VERBATIM)
endfunction()

# A program the build runs itself, built with Emscripten for node: it reads
# and writes the build machine's files, and its exit code is the build's.
# One file, as sbpack is (see the browser SDK's install rules).
function(_quorbel_node_program target)
  target_link_options(${target} PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1)
endfunction()

# The game's page folder: its media packed into name.data, and the page
# written once the program and the media are there.
function(_quorbel_web_page game page)
  set(data)
  set(has_data OFF)
  if(ARGN)
    set(data ${page}/${game}.data)
    set(has_data ON)
    add_custom_command(
      OUTPUT ${data}
      COMMAND ${QUORBEL_NODE} $<TARGET_FILE:Quorbel::sbpack> pack ${data} ${ARGN}
      DEPENDS ${ARGN}
      COMMENT "Packing the media of ${game}"
      VERBATIM)
  endif()
  set(shell ${QUORBEL_WEB_SHELL_DIR})
  add_custom_command(
    OUTPUT ${page}/index.html ${page}/shell.js ${page}/shell.css
    COMMAND ${CMAKE_COMMAND} -DNAME=${game} -DPAGE=${page} -DSHELL=${shell} -DDATA=${has_data}
      -P ${_QUORBEL_CMAKE_DIR}/QuorbelWebPage.cmake
    DEPENDS ${game} ${data} ${shell}/page.html ${shell}/shell.js ${shell}/shell.css
      ${_QUORBEL_CMAKE_DIR}/QuorbelWebPage.cmake
    COMMENT "Writing the page of ${game}"
    VERBATIM)
  add_custom_target(${game}_page ALL DEPENDS ${page}/index.html ${data})
endfunction()
