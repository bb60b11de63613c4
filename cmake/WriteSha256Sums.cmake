# Writes OUTPUT in the form sha256sum reads back (sha256sum -c): one line a
# file, its SHA-256 in hex, two spaces and its name. Arguments: FILES, OUTPUT.
set(lines "")
foreach(file IN LISTS FILES)
  file(SHA256 ${file} sum)
  get_filename_component(name ${file} NAME)
  string(APPEND lines "${sum}  ${name}\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
