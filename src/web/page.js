// The page around the show (page_web.cpp): fits the canvas into the window,
// puts each frame, keeps the show's clock going only while the page is seen,
// and turns clicks, taps and keys into the finale (F: full screen).
"use strict";

(function () {
  var canvas = document.getElementById("show");
  var context = canvas.getContext("2d", { alpha: false });
  var messageBox = document.getElementById("message");
  var image = null, imageAt = 0;
  var ratioWatch = null;  // fires when devicePixelRatio leaves its value
  // The last frames' cost (tessary_frame and putImageData, in ms), for
  // scripts/web --bench.
  var costs = new Float64Array(1024), costCount = 0;
  window.tessaryStats = { costs: costs, count: function () { return costCount; } };

  function say(text) {
    messageBox.textContent = text;
    messageBox.hidden = !text;
  }

  function fit() {
    var ratio = window.devicePixelRatio || 1;
    var at = Module._tessary_fit(window.innerWidth, window.innerHeight, ratio) / 8;
    var box = Module.HEAPF64.subarray(at, at + 4);
    canvas.style.left = box[0] + "px";
    canvas.style.top = box[1] + "px";
    canvas.style.width = box[2] + "px";
    canvas.style.height = box[3] + "px";
    // A change of the ratio (a zoom, another monitor) fires no resize.
    if (ratioWatch) ratioWatch.removeEventListener("change", fit);
    ratioWatch = window.matchMedia("(resolution: " + ratio + "dppx)");
    ratioWatch.addEventListener("change", fit);
  }

  function frame(stamp) {
    var start = performance.now();
    var at = Module._tessary_frame(stamp);
    if (at !== imageAt || image === null || image.data.buffer !== Module.HEAPU8.buffer) {
      var width = Module._tessary_width(), height = Module._tessary_height();
      image = new ImageData(new Uint8ClampedArray(Module.HEAPU8.buffer, at, width * height * 4),
                            width, height);
      imageAt = at;
    }
    context.putImageData(image, 0, 0);
    costs[costCount++ % costs.length] = performance.now() - start;
    if (Module._tessary_state() === 1) window.requestAnimationFrame(frame);
  }

  function toggleFullScreen() {
    var root = document.documentElement;
    var request = root.requestFullscreen || root.webkitRequestFullscreen;
    var exit = document.exitFullscreen || document.webkitExitFullscreen;
    var current = document.fullscreenElement || document.webkitFullscreenElement;
    var done = current ? exit.call(document) : request && request.call(root);
    if (done && done.catch) done.catch(function (e) { say("no full screen: " + e.message); });
  }

  function start() {
    var message = Module.ccall("tessary_start", "string", ["string", "number"],
                               [window.location.search, Date.now() % 4294967296]);
    say(message);
    if (!Module._tessary_state()) return;
    canvas.width = Module._tessary_width();
    canvas.height = Module._tessary_height();
    fit();
    window.addEventListener("resize", fit);
    document.addEventListener("visibilitychange", function () { Module._tessary_pause(); });
    window.addEventListener("pointerdown", function (e) {
      if (e.target !== messageBox) Module._tessary_input();
    });
    window.addEventListener("keydown", function (e) {
      if (e.ctrlKey || e.altKey || e.metaKey) return;  // the browser's own keys
      if (e.key === "f" || e.key === "F") toggleFullScreen();
      else Module._tessary_input();
    });
    window.requestAnimationFrame(frame);
  }

  window.tessaryFailed = function (what) { say("The show could not start: " + what); };
  window.Module = { onRuntimeInitialized: start, onAbort: window.tessaryFailed };
})();
