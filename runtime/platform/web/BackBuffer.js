// The program's framebuffer 0 in a browser page: Emscripten's off-screen back
// buffer, a texture the size of the canvas that each swap copies to the
// canvas, so a page that gets its turn in the middle of a frame never shows
// that frame half drawn. Emscripten's own copy asks WebGL for every piece of
// state it changes and puts it back; in Chromium each such question waits for
// the GPU to finish what it was given (about 10 ms a frame on a software
// GPU). Here the state the copy changes is followed as the program sets it,
// and the copy asks nothing.
Module['quorbelUseBackBuffer'] = function () {
  var context = GL.currentContext;
  if (!context || context.defaultFbo) return;
  var gl = context.GLctx;
  var state = {
    program: null, arrayBuffer: null, activeTexture: gl.TEXTURE0, texture0: null,
    framebuffer: null, vertexArray: null, viewport: [0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight],
    enabled: {},
  };
  function follow(name, note) {
    var call = gl[name];
    if (!call) return;
    gl[name] = function () {
      note.apply(null, arguments);
      return call.apply(gl, arguments);
    };
  }
  follow('useProgram', function (program) { state.program = program; });
  follow('bindBuffer', function (target, buffer) {
    if (target === gl.ARRAY_BUFFER) state.arrayBuffer = buffer;
  });
  follow('activeTexture', function (unit) { state.activeTexture = unit; });
  follow('bindTexture', function (target, texture) {
    if (target === gl.TEXTURE_2D && state.activeTexture === gl.TEXTURE0) state.texture0 = texture;
  });
  follow('bindFramebuffer', function (target, framebuffer) { state.framebuffer = framebuffer; });
  follow('viewport', function (x, y, width, height) { state.viewport = [x, y, width, height]; });
  follow('enable', function (capability) { state.enabled[capability] = true; });
  follow('disable', function (capability) { state.enabled[capability] = false; });
  follow('bindVertexArray', function (vertexArray) { state.vertexArray = vertexArray; });
  // A deleted object that was bound is bound no more.
  follow('deleteBuffer', function (buffer) {
    if (buffer === state.arrayBuffer) state.arrayBuffer = null;
  });
  follow('deleteTexture', function (texture) {
    if (texture === state.texture0) state.texture0 = null;
  });
  follow('deleteFramebuffer', function (framebuffer) {
    if (framebuffer === state.framebuffer) state.framebuffer = null;
  });

  // Emscripten's set-up of the copy asks WebGL where the copy's position
  // attribute and sampler are, and each question waits for the GPU. The
  // attribute is bound to location 0 before the link instead, and the
  // sampler keeps unit 0, every sampler's default: nothing is asked.
  var link = gl.linkProgram, attribute = gl.getAttribLocation, uniform = gl.getUniformLocation;
  gl.linkProgram = function (program) {
    gl.bindAttribLocation(program, 0, 'pos');
    return link.call(gl, program);
  };
  gl.getAttribLocation = function () { return 0; };
  gl.getUniformLocation = function () { return null; };
  try {
    GL.createOffscreenFramebuffer(context);
  } finally {
    gl.linkProgram = link;
    gl.getAttribLocation = attribute;
    gl.getUniformLocation = uniform;
  }
  if (!context.defaultVao) return;  // without vertex arrays Emscripten's own copy stays

  var switchedOff = [gl.SCISSOR_TEST, gl.BLEND, gl.CULL_FACE, gl.DEPTH_TEST, gl.STENCIL_TEST];
  GL.blitOffscreenFramebuffer = function (target) {
    if (target !== context) return;
    var before = {
      program: state.program, arrayBuffer: state.arrayBuffer, activeTexture: state.activeTexture,
      texture0: state.texture0, framebuffer: state.framebuffer, vertexArray: state.vertexArray,
      viewport: state.viewport,
    };
    var wereOn = switchedOff.filter(function (capability) { return state.enabled[capability]; });
    wereOn.forEach(function (capability) { gl.disable(capability); });
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.viewport(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight);
    gl.useProgram(context.blitProgram);
    gl.bindBuffer(gl.ARRAY_BUFFER, context.blitVB);
    gl.activeTexture(gl.TEXTURE0);
    gl.bindTexture(gl.TEXTURE_2D, context.defaultColorTarget);
    gl.bindVertexArray(context.defaultVao);
    gl.vertexAttribPointer(context.blitPosLoc, 2, gl.FLOAT, false, 0, 0);
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);

    gl.bindVertexArray(before.vertexArray);
    gl.bindTexture(gl.TEXTURE_2D, before.texture0);
    gl.activeTexture(before.activeTexture);
    gl.bindBuffer(gl.ARRAY_BUFFER, before.arrayBuffer);
    gl.useProgram(before.program);
    gl.viewport(before.viewport[0], before.viewport[1], before.viewport[2], before.viewport[3]);
    gl.bindFramebuffer(gl.FRAMEBUFFER, before.framebuffer);
    wereOn.forEach(function (capability) { gl.enable(capability); });
  };
};
