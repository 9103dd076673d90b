# The page of a game built for the browser (quorbel_add_game under
# Emscripten), written into its folder beside the program: index.html from
# the page shell with the game's settings, and the shell's script and style.
#
#   cmake -DNAME=game -DPAGE=folder -DSHELL=shell folder -DDATA=ON|OFF -P QuorbelWebPage.cmake
#
# The program runs in the page's folder /NAME, kept in the browser between
# visits. Its media, NAME.data, arrive there as the program's own file NAME,
# the file a one-file game names as its media archive.
foreach(setting NAME PAGE SHELL)
  if(NOT ${setting})
    message(FATAL_ERROR "QuorbelWebPage.cmake: -D${setting}=... is needed")
  endif()
endforeach()
# The name goes into a URL, a JSON text and the HTML as it is.
if(NOT NAME MATCHES "^[A-Za-z0-9_.+-]+$")
  message(FATAL_ERROR "QuorbelWebPage.cmake: a game's name is letters, digits and _ . + -, not ${NAME}")
endif()

file(SIZE ${PAGE}/${NAME}.wasm wasm_size)
# The media's own time in the page, which tells them from files the game writes there.
string(TIMESTAMP now "%s" UTC)
string(CONCAT config "{\"program\":\"${NAME}\",\"folder\":\"/${NAME}\",\"root\":\"\","
  "\"script\":\"${NAME}.js\",\"wasm\":{\"url\":\"${NAME}.wasm\",\"size\":${wasm_size}},"
  "\"mediaTime\":${now}000")
if(DATA)
  file(SIZE ${PAGE}/${NAME}.data data_size)
  string(APPEND config ",\"data\":{\"url\":\"${NAME}.data\",\"size\":${data_size},"
    "\"files\":[[\"${NAME}\",0,${data_size}]]}")
endif()
string(APPEND config "}")

file(READ ${SHELL}/page.html page)
string(REPLACE "@TITLE@" "${NAME}" page "${page}")
string(REPLACE "@ROOT@" "" page "${page}")
string(REPLACE "@CONFIG@" "${config}" page "${page}")
file(WRITE ${PAGE}/index.html "${page}")
foreach(file shell.js shell.css)
  file(COPY_FILE ${SHELL}/${file} ${PAGE}/${file})
endforeach()
