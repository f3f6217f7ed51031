# A folder of a run's own in the temporary folder ($TMPDIR, else /tmp), made
# and named in `var`: the command-line frame runs in it, so that what a script
# saves by a relative name lands there; the caller removes it.
function(make_run_folder var)
  set(temp "$ENV{TMPDIR}")
  if(NOT temp)
    set(temp /tmp)
  endif()
  string(RANDOM LENGTH 16 token)
  set(folder "${temp}/dtm_cli_run_${token}")
  file(MAKE_DIRECTORY "${folder}")
  set(${var} "${folder}" PARENT_SCOPE)
endfunction()
