#!/bin/sh
# A scripted stand-in for a UCI engine, for the tools' tests. Its behaviour is
# chosen by the first word of the file named in FAKE_ENGINE_MODE_FILE (or
# "normal"): normal, crash (exits when asked to search), stall (never answers
# a search), mute (never answers the handshake), linger (takes a moment to
# leave), deaf (never leaves on its own). FAKE_ENGINE_PID_FILE, when set, gets its pid.
mode=normal
[ -n "$FAKE_ENGINE_PID_FILE" ] && echo $$ > "$FAKE_ENGINE_PID_FILE"
if [ -n "$FAKE_ENGINE_MODE_FILE" ] && [ -r "$FAKE_ENGINE_MODE_FILE" ]; then
  read -r mode < "$FAKE_ENGINE_MODE_FILE"
fi
while read -r line; do
  case "$line" in
    uci)
      [ "$mode" = mute ] && continue
      echo "id name fake"; echo "uciok" ;;
    isready) echo "readyok" ;;
    go*)
      case "$mode" in
        crash) exit 3 ;;
        stall) continue ;;
      esac
      echo "info depth 1 multipv 1 score cp 10 nodes 5 pv e2e4"
      echo "info string ignore me"
      echo "info depth 2 multipv 1 score cp 35 lowerbound nodes 9 pv d2d4"
      echo "info depth 2 multipv 1 score cp 30 nodes 20 pv e2e4 e7e5"
      echo "info depth 2 multipv 2 score cp -5 nodes 20 pv g1f3"
      echo "bestmove e2e4 ponder e7e5" ;;
    quit)
      [ "$mode" = deaf ] && continue
      [ "$mode" = linger ] && sleep 0.2
      exit 0 ;;
  esac
done
[ "$mode" = deaf ] && exec sleep 30
[ "$mode" = linger ] && sleep 0.2
