# README.md as a page of its own, for the installed game's help (cmake -P):
#   -DCMARK=cmark-gfm -DSOURCE=<source dir> -DOUT=<folder for README.html and docs/>
execute_process(COMMAND ${CMARK} --to html -e table -e autolink --smart ${SOURCE}/README.md
  OUTPUT_VARIABLE PONDARO_README_BODY RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not render README.md")
endif()
configure_file(${SOURCE}/packaging/readme.html.in ${OUT}/README.html @ONLY)
file(COPY ${SOURCE}/docs/crossing.png ${SOURCE}/docs/feeding.png DESTINATION ${OUT}/docs)
